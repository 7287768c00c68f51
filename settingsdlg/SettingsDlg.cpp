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
#include <string>

#include "DialogUnits.h"
#include "SettingsSchema.h"
#include "SettingsTemplate.h"
#include "SettingsWarning.h"
#include "Soundness.h"
#include "Translations.h"

namespace {

// A text of the current language with a field's bounds put in for "%1" and "%2".
QString WithBounds(const char* text, const SettingField& field) {
    const QString translated = Tr(text);
    if (!field.bounded) {
        return translated;
    }
    return translated.arg(QString::fromStdString(SettingBoundText(field, field.low)),
                          QString::fromStdString(SettingBoundText(field, field.high)));
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
    m_messageBox = [this](const QString& text, const QString& caption, Buttons buttons) {
        return ShowMessageBox(text, caption, buttons);
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
    for (const SettingField& field : SETTING_FIELDS) {
        GetDlgItem(field.id)->setToolTip(WithBounds(field.tip, field));
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
    for (const SettingField& field : SETTING_FIELDS) {
        if (field.fixesStartGrid) {
            GetDlgItem(field.id)->setEnabled(true);
        }
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
    for (const SettingField& field : SETTING_FIELDS) {
        if (field.fixesStartGrid) {
            GetDlgItem(field.id)->setEnabled(continueRun == 0);
        }
    }
}

void CSettingsDlg::OnDefault() {
    if (!m_messageBox(Tr(SettingsTexts::CONFIRM_DEFAULT), Tr(SettingsTexts::CAPTION_CONFIRM),
                      Buttons::OkCancel)) {
        return;
    }
    SetSettings(SimulationSettings{});
    UpdateData(false);
}

void CSettingsDlg::accept() {
    if (UpdateData(true) && ConfirmSoundness()) {
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
    // The fields go in the table's order, which decides which bad field is reported first.
    // The check box is bound once, when the controls are made; its state is kept by the
    // continue rule, not by this exchange. While continuing, the fields that define the grid
    // are locked and the caller ignores them, so they are neither read nor checked: a value
    // refused before the box was ticked again cannot hold the dialog open. Showing values
    // always fills them.
    const bool skipLocked = bSaveAndValidate && m_bCanContinue != 0 && continueRun != 0;
    for (const SettingField& field : SETTING_FIELDS) {
        if (field.kind == SettingKind::Check || (skipLocked && field.fixesStartGrid)) {
            continue;
        }
        if (!ExchangeField(bSaveAndValidate, field)) {
            return false;
        }
    }
    return true;
}

bool CSettingsDlg::ExchangeField(bool bSaveAndValidate, const SettingField& field) {
    QLineEdit* edit = Edit(field.id);
    if (!bSaveAndValidate) {
        edit->setText(QString::fromStdString(SettingFieldText(field, m_settings)));
        return true;
    }
    // A value that is refused, also for its range, never reaches the member.
    const FieldError error = ReadSettingField(field, edit->text().toStdString(), m_settings);
    if (error != FieldError::None) {
        const char* prompt = SettingPrompt(field, error);
        Fail(field.id, error == FieldError::OutOfRange ? WithBounds(prompt, field) : Tr(prompt));
        return false;
    }
    return true;
}

void CSettingsDlg::Fail(int nId, const QString& prompt) {
    m_messageBox(prompt, QString(), Buttons::Ok);
    QLineEdit* edit = Edit(nId);
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}

bool CSettingsDlg::ShowMessageBox(const QString& text, const QString& caption, Buttons buttons) {
    const QString title = caption.isEmpty() ? QApplication::applicationName() : caption;
    QMessageBox box(
        QMessageBox::NoIcon, title, text,
        buttons == Buttons::Ok ? QMessageBox::Ok : QMessageBox::Ok | QMessageBox::Cancel, this);
    box.setDefaultButton(buttons == Buttons::OkCancelDefaultCancel ? QMessageBox::Cancel
                                                                   : QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
}

bool CSettingsDlg::ConfirmSoundness() {
    const std::string warning = SettingsWarning(
        m_settings, [](const char* japanese) { return Tr(japanese).toStdString(); });
    if (warning.empty()) {
        return true;
    }
    const QString text = QString::fromStdString(warning) + u'\n' + Tr(WarningTexts::RUN_ANYWAY);
    if (m_messageBox(text, QString(), Buttons::OkCancelDefaultCancel)) {
        return true;
    }
    // Back to the first field whose value is unsound, in the exchange order.
    if (const int id = FirstUnsoundField(m_settings); id != 0) {
        QLineEdit* edit = Edit(id);
        edit->setFocus(Qt::OtherFocusReason);
        edit->selectAll();
    }
    return false;
}
