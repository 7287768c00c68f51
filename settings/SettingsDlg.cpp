#include "SettingsDlg.h"

#include <qdrawutil.h>
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>

#include "DialogUnits.h"
#include "NumberText.h"
#include "SettingsTemplate.h"
#include "SettingsTips.h"
#include "Translations.h"

namespace {

const char* const TEXT_CONFIRM_DEFAULT = "各値をデフォルト値に戻します。";
const char* const CAPTION_CONFIRM = "確認";
const char* const PROMPT_INTEGER = "整数を入力してください。";
const char* const PROMPT_NUMBER = "数値を入力してください。";
const char* const PROMPT_INTEGER_RANGE = "%1 から %2 までの整数を入力してください。";
const char* const PROMPT_NUMBER_RANGE = "%1 から %2 までの数値を入力してください。";

// A field's tooltip with the bounds the exchange checks it against filled in.
QString TipText(const SettingsTip& tip) {
    const QString text = Tr(tip.text);
    switch (tip.id) {
        case IDC_INITIAL_TEMPERATURE:
            return text.arg(FormatIntText(MIN_INITIAL_TEMPERATURE),
                            FormatIntText(MAX_INITIAL_TEMPERATURE));
        case IDC_CONVECTION_RATIO:
            return text.arg(FormatRealText(MIN_CONVECTION_RATIO),
                            FormatRealText(MAX_CONVECTION_RATIO));
        case IDC_COLUMNS:
        case IDC_ROWS:
            return text.arg(FormatIntText(MIN_GRID_SIZE), FormatIntText(MAX_GRID_SIZE));
        case IDC_STEP_INTERVAL:
            return text.arg(FormatIntText(MIN_STEP_INTERVAL), FormatIntText(MAX_STEP_INTERVAL));
        default:
            return text;
    }
}

// A group box whose frame's top line runs through the middle of its title, as on the classic
// desktop. The template leaves room for half a line above a group's first control, not for a
// title line of its own above the frame.
class ClassicGroupBox : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent*) override {
        constexpr int kTitleInset = 6;    // from the left end of the frame
        constexpr int kTitlePadding = 2;  // gap in the line on either side of the title
        QPainter painter(this);
        const QFontMetrics metrics = fontMetrics();
        const QRect titleRect(kTitleInset, 0,
                              metrics.horizontalAdvance(title()) + 2 * kTitlePadding,
                              metrics.height());

        // An etched frame; styles' own group box frames leave a title line above themselves.
        painter.save();
        painter.setClipRegion(QRegion(rect()) - titleRect);
        qDrawShadeRect(&painter, rect().adjusted(0, metrics.height() / 2, 0, 0), palette(), true);
        painter.restore();
        style()->drawItemText(&painter, titleRect, Qt::AlignCenter, palette(), isEnabled(), title(),
                              QPalette::WindowText);
    }
};

QString ObjectName(const SettingsItem& item, std::size_t index) {
    switch (item.kind) {
        case ITEM_GROUP_BOX:
            return QStringLiteral("group%1").arg(index);
        case ITEM_STATIC:
            return QStringLiteral("static%1").arg(index);
        case ITEM_EDIT:
            return QStringLiteral("edit%1").arg(item.id);
        case ITEM_AUTO_CHECK_BOX:
            return QStringLiteral("check%1").arg(item.id);
        case ITEM_DEF_PUSH_BUTTON:
        case ITEM_PUSH_BUTTON:
            return QStringLiteral("button%1").arg(item.id);
    }
    return {};
}

}  // namespace

CSettingsDlg::CSettingsDlg(QWidget* pParent)
    : QDialog(pParent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    m_messageBox = [this](const QString& text, const QString& caption, bool okCancel) {
        return ShowMessageBox(text, caption, okCancel);
    };
    CreateControls();
}

void CSettingsDlg::CreateControls() {
    // Without the font installed Qt substitutes the closest family; the layout follows
    // whatever font is used because it is scaled by that font's own dialog units.
    const QFont font = DialogFont();
    setFont(font);
    setObjectName(QStringLiteral("dialog%1").arg(IDD_SETTINGS));

    const DialogUnits units(font);
    setFixedSize(units.ToPixels(QSize(SETTINGS_WIDTH, SETTINGS_HEIGHT)));

    QWidget* previousTabStop = nullptr;
    for (std::size_t index = 0; index < SETTINGS_ITEM_COUNT; ++index) {
        const SettingsItem& item = SETTINGS_ITEMS[index];
        QWidget* widget = nullptr;
        switch (item.kind) {
            case ITEM_GROUP_BOX:
                widget = new ClassicGroupBox(this);
                break;
            case ITEM_STATIC: {
                auto* label = new QLabel(this);
                label->setTextFormat(Qt::PlainText);
                label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                widget = label;
                break;
            }
            case ITEM_EDIT:
                widget = new QLineEdit(this);
                widget->installEventFilter(this);
                break;
            case ITEM_AUTO_CHECK_BOX:
                m_chkContinue = new QCheckBox(this);
                connect(m_chkContinue, &QCheckBox::clicked, this, [this] { OnContinueClicked(); });
                widget = m_chkContinue;
                break;
            case ITEM_DEF_PUSH_BUTTON:
            case ITEM_PUSH_BUTTON: {
                auto* button = new QPushButton(this);
                button->setDefault(item.kind == ITEM_DEF_PUSH_BUTTON);
                if (item.id == IDC_SETTINGS_OK) {
                    connect(button, &QPushButton::clicked, this, &CSettingsDlg::accept);
                } else if (item.id == IDC_SETTINGS_CANCEL) {
                    connect(button, &QPushButton::clicked, this, &CSettingsDlg::reject);
                } else if (item.id == IDC_DEFAULT) {
                    connect(button, &QPushButton::clicked, this, [this] { OnDefault(); });
                }
                widget = button;
                break;
            }
        }
        widget->setObjectName(ObjectName(item, index));
        widget->setGeometry(units.ToTextPixels(QRect(item.x, item.y, item.cx, item.cy)));
        if (item.id != IDC_STATIC) {
            widget->setProperty("controlId", item.id);
            m_controlById[item.id] = widget;
        }
        if (widget->focusPolicy() & Qt::TabFocus) {
            if (previousTabStop != nullptr) {
                setTabOrder(previousTabStop, widget);
            }
            previousTabStop = widget;
        }
        m_controls.push_back(widget);
    }
    RetranslateUi();
}

void CSettingsDlg::RetranslateUi() {
    setWindowTitle(Tr(SETTINGS_CAPTION));
    for (std::size_t index = 0; index < SETTINGS_ITEM_COUNT; ++index) {
        const QString text = Tr(SETTINGS_ITEMS[index].text);
        QWidget* widget = m_controls[index];
        if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            group->setTitle(text);
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            label->setText(text);
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            button->setText(text);
        }
    }
    for (const SettingsTip& tip : SETTINGS_TIPS) {
        GetDlgItem(tip.id)->setToolTip(TipText(tip));
    }
}

void CSettingsDlg::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        RetranslateUi();
    }
}

QWidget* CSettingsDlg::GetDlgItem(int nId) const {
    const auto found = m_controlById.find(nId);
    return found == m_controlById.end() ? nullptr : found->second;
}

QWidget* CSettingsDlg::ControlAt(std::size_t index) const {
    return index < m_controls.size() ? m_controls[index] : nullptr;
}

QLineEdit* CSettingsDlg::Edit(int nId) const {
    return qobject_cast<QLineEdit*>(GetDlgItem(nId));
}

void CSettingsDlg::SetSettings(const SimulationSettings& settings) {
    m_settings = settings;
}

SimulationSettings CSettingsDlg::Settings() const {
    SimulationSettings settings = m_settings;
    settings.continueRun = continueRun != 0;
    return settings;
}

void CSettingsDlg::showEvent(QShowEvent* event) {
    // Spontaneous show events come from the window system (restoring a minimised window);
    // only an opening by the program initialises.
    if (!event->spontaneous()) {
        OnInitDialog();
    }
    QDialog::showEvent(event);
}

void CSettingsDlg::OnInitDialog() {
    m_entryValues = Settings();

    // The controls start as the template makes them, also when the dialog object is reused.
    m_chkContinue->setChecked(false);
    for (const int nId : {IDC_INITIAL_TEMPERATURE, IDC_COLUMNS, IDC_ROWS}) {
        GetDlgItem(nId)->setEnabled(true);
    }

    UpdateData(false);
    m_chkContinue->setEnabled(m_bCanContinue != 0);
    if (m_bCanContinue) {
        // Continuing is offered ticked whenever it is possible.
        continueRun = 1;
        m_chkContinue->setChecked(true);
        OnContinueClicked();
    }

    // The first control that takes the keyboard gets the focus, an edit with its whole text
    // selected, so that typing replaces the value shown. An edit drops its selection when its
    // window is activated while it has no focus yet, so the text is selected again when the
    // focus arrives.
    m_pSelectOnFocus = nullptr;
    for (QWidget* control : m_controls) {
        if (control->isEnabled() && (control->focusPolicy() & Qt::TabFocus)) {
            control->setFocus(Qt::TabFocusReason);
            if (auto* edit = qobject_cast<QLineEdit*>(control)) {
                edit->selectAll();
                m_pSelectOnFocus = edit;
            }
            break;
        }
    }
}

bool CSettingsDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && watched == m_pSelectOnFocus &&
        m_pSelectOnFocus->hasFocus()) {
        m_pSelectOnFocus->selectAll();
        m_pSelectOnFocus = nullptr;
    }
    return QDialog::eventFilter(watched, event);
}

void CSettingsDlg::OnContinueClicked() {
    continueRun = m_chkContinue->isChecked() ? 1 : 0;
    for (const int nId : {IDC_INITIAL_TEMPERATURE, IDC_COLUMNS, IDC_ROWS}) {
        GetDlgItem(nId)->setEnabled(continueRun == 0);
    }
}

void CSettingsDlg::OnDefault() {
    if (!m_messageBox(Tr(TEXT_CONFIRM_DEFAULT), Tr(CAPTION_CONFIRM), true)) {
        return;
    }
    SetSettings(SimulationSettings{});
    UpdateData(false);
}

void CSettingsDlg::accept() {
    if (UpdateData(true)) {
        QDialog::accept();
    }
}

void CSettingsDlg::reject() {
    if (m_entryValues) {
        SetSettings(*m_entryValues);
        continueRun = m_entryValues->continueRun ? 1 : 0;
    }
    QDialog::reject();
}

bool CSettingsDlg::UpdateData(bool bSaveAndValidate) {
    return DoDataExchange(bSaveAndValidate);
}

bool CSettingsDlg::DoDataExchange(bool bSaveAndValidate) {
    // The order decides which bad field is reported first. The check box is bound once, when
    // the controls are made; its state is kept by the continue rule, not by this exchange.
    // While continuing, the fields that define the grid are locked and the caller ignores
    // them, so they are neither read nor checked: a value refused before the box was ticked
    // again cannot hold the dialog open. Showing values always fills them.
    const bool b = bSaveAndValidate;
    const bool skipLocked = b && m_bCanContinue != 0 && continueRun != 0;
    const auto exchangeLocked = [&](int nId, int& value, std::pair<int, int> range) {
        return skipLocked || ExchangeInt(b, nId, value, range);
    };
    return exchangeLocked(IDC_INITIAL_TEMPERATURE, m_settings.initialTemperature,
                          {MIN_INITIAL_TEMPERATURE, MAX_INITIAL_TEMPERATURE}) &&
           ExchangeReal(b, IDC_CONVECTION_RATIO, m_settings.convectionRatio,
                        std::pair{MIN_CONVECTION_RATIO, MAX_CONVECTION_RATIO}) &&
           ExchangeReal(b, IDC_CONDUCTION_COEFFICIENT, m_settings.conductionCoefficient) &&
           ExchangeReal(b, IDC_COOLING_COEFFICIENT, m_settings.coolingCoefficient) &&
           ExchangeInt(b, IDC_ROOM_TEMPERATURE, m_settings.roomTemperature) &&
           ExchangeInt(b, IDC_STRONG_FLAME_POWER, m_settings.strongFlamePower) &&
           ExchangeInt(b, IDC_MEDIUM_FLAME_POWER, m_settings.mediumFlamePower) &&
           ExchangeInt(b, IDC_WEAK_FLAME_POWER, m_settings.weakFlamePower) &&
           ExchangeInt(b, IDC_STEP_INTERVAL, m_settings.stepIntervalMs,
                       std::pair{MIN_STEP_INTERVAL, MAX_STEP_INTERVAL}) &&
           exchangeLocked(IDC_COLUMNS, m_settings.columns, {MIN_GRID_SIZE, MAX_GRID_SIZE}) &&
           exchangeLocked(IDC_ROWS, m_settings.rows, {MIN_GRID_SIZE, MAX_GRID_SIZE}) &&
           ExchangeInt(b, IDC_HISTORY_INTERVAL, m_settings.historyInterval);
}

bool CSettingsDlg::ExchangeInt(bool bSaveAndValidate, int nId, int& value,
                               std::optional<std::pair<int, int>> range) {
    QLineEdit* edit = Edit(nId);
    if (!bSaveAndValidate) {
        edit->setText(FormatIntText(value));
        return true;
    }
    int parsed = 0;
    if (!ParseIntText(edit->text(), parsed)) {
        Fail(nId, Tr(PROMPT_INTEGER));
        return false;
    }
    // A value outside its range never reaches the member.
    if (range && (parsed < range->first || parsed > range->second)) {
        Fail(nId, Tr(PROMPT_INTEGER_RANGE)
                      .arg(FormatIntText(range->first), FormatIntText(range->second)));
        return false;
    }
    value = parsed;
    return true;
}

bool CSettingsDlg::ExchangeReal(bool bSaveAndValidate, int nId, double& value,
                                std::optional<std::pair<double, double>> range) {
    QLineEdit* edit = Edit(nId);
    if (!bSaveAndValidate) {
        edit->setText(FormatRealText(value));
        return true;
    }
    double parsed = 0.0;
    if (!ParseRealText(edit->text(), parsed)) {
        Fail(nId, Tr(PROMPT_NUMBER));
        return false;
    }
    if (range && (parsed < range->first || parsed > range->second)) {
        Fail(nId, Tr(PROMPT_NUMBER_RANGE)
                      .arg(FormatRealText(range->first), FormatRealText(range->second)));
        return false;
    }
    value = parsed;
    return true;
}

void CSettingsDlg::Fail(int nId, const QString& prompt) {
    m_messageBox(prompt, QString(), false);
    QLineEdit* edit = Edit(nId);
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}

bool CSettingsDlg::ShowMessageBox(const QString& text, const QString& caption, bool okCancel) {
    const QString title = caption.isEmpty() ? QApplication::applicationName() : caption;
    QMessageBox box(QMessageBox::NoIcon, title, text,
                    okCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok, this);
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
}
