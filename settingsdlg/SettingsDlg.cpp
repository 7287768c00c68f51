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
#include "SettingsTemplate.h"
#include "Translations.h"

namespace {

// A text of the program's language as the current language shows it.
std::string Translated(const char* japanese) {
    return Tr(japanese).toStdString();
}

// A group box whose frame's top line runs through the middle of its title, as on the classic
// desktop. The template leaves room for half a line above a group's first control, not for a
// title line of its own above the frame.
class ClassicGroupBox : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent*) override {
        constexpr int TITLE_INSET = 6;    // from the left end of the frame
        constexpr int TITLE_PADDING = 2;  // gap in the line on either side of the title
        QPainter painter(this);
        const QFontMetrics metrics = fontMetrics();
        const QRect titleRect(TITLE_INSET, 0,
                              metrics.horizontalAdvance(title()) + 2 * TITLE_PADDING,
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
    const SettingsFormView view = m_form.View(Translated);
    for (const SettingsFormField& field : view.fields) {
        GetDlgItem(field.id)->setToolTip(QString::fromStdString(field.tip));
    }
    m_chkContinue->setToolTip(QString::fromStdString(view.continueTip));
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
    m_form.SetValues(settings);
}

SimulationSettings CSettingsDlg::Settings() const {
    return m_form.Values();
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
    const SettingsFormView view = m_form.Open(m_bCanContinue != 0);
    ShowTexts(view);
    ShowLocks(view);

    // The first field that can be edited gets the focus with its whole text selected, so
    // that typing replaces the value shown. An edit drops its selection when its window is
    // activated while it has no focus yet, so the text is selected again when the focus
    // arrives.
    QLineEdit* first = Edit(view.focus);
    first->setFocus(Qt::TabFocusReason);
    first->selectAll();
    m_pSelectOnFocus = first;
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
    m_form.SetContinue(m_chkContinue->isChecked());
    ShowLocks(m_form.View());
}

void CSettingsDlg::OnDefault() {
    const SettingsFormView view = m_form.View(Translated);
    if (!m_messageBox(QString::fromStdString(view.defaultQuestion),
                      QString::fromStdString(view.defaultCaption), Buttons::OkCancel)) {
        return;
    }
    m_form.ResetToDefaults();
    ShowTexts(m_form.View());
}

void CSettingsDlg::accept() {
    std::vector<std::string> texts;
    for (const SettingsFormField& field : m_form.View().fields) {
        texts.push_back(Edit(field.id)->text().toStdString());
    }
    SettingsFormAnswer answer = m_form.Answer(texts, false, Translated);
    const QString message = QString::fromStdString(answer.message);
    if (answer.kind == SettingsFormAnswer::Kind::Refused) {
        // The field is given the focus after the box has closed, so the box cannot take it.
        m_messageBox(message, QString(), Buttons::Ok);
        GoBackTo(answer.field);
        return;
    }
    if (answer.kind == SettingsFormAnswer::Kind::Unsound) {
        if (!m_messageBox(message, QString(), Buttons::OkCancelDefaultCancel)) {
            GoBackTo(answer.field);
            return;
        }
        answer = m_form.Answer(texts, true, Translated);
    }
    continueRun = answer.settings.continueRun ? 1 : 0;
    QDialog::accept();
}

void CSettingsDlg::reject() {
    m_form.Cancel();
    continueRun = m_form.Values().continueRun ? 1 : 0;
    QDialog::reject();
}

void CSettingsDlg::ShowTexts(const SettingsFormView& view) {
    for (const SettingsFormField& field : view.fields) {
        Edit(field.id)->setText(QString::fromStdString(field.text));
    }
}

void CSettingsDlg::ShowLocks(const SettingsFormView& view) {
    for (const SettingsFormField& field : view.fields) {
        Edit(field.id)->setEnabled(!field.locked);
    }
    m_chkContinue->setEnabled(view.canContinue);
    m_chkContinue->setChecked(view.continueRun);
    continueRun = view.continueRun ? 1 : 0;
}

void CSettingsDlg::GoBackTo(int nId) {
    if (QLineEdit* edit = Edit(nId)) {
        edit->setFocus(Qt::OtherFocusReason);
        edit->selectAll();
    }
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
