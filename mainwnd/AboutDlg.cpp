#include "AboutDlg.h"

#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

#include "DialogUnits.h"
#include "MainTexts.h"

namespace {

// Size of the box and places of its four items, in dialog units.
constexpr QSize BOX_SIZE(175, 67);
constexpr QRect ICON_RECT(21, 23, 20, 21);
constexpr QRect VERSION_RECT(53, 14, 105, 8);
constexpr QRect RIGHTS_RECT(53, 29, 109, 8);
constexpr QRect CONTACT_RECT(53, 44, 108, 8);
// The icon's own size in pixels: the label is never smaller than the icon it shows.
constexpr int ICON_PIXELS = 32;

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setFont(DialogFont());
    const DialogUnits units(font());
    setFixedSize(units.ToPixels(BOX_SIZE));

    // A frameless window has no border of its own; draw the modal frame's line.
    setStyleSheet(QStringLiteral("CAboutDlg { border: 1px solid palette(dark); }"));

    auto* icon = new QLabel(this);
    // A static icon sizes itself to the icon.
    const QRect iconRect = units.ToPixels(ICON_RECT);
    icon->setGeometry(iconRect.x(), iconRect.y(), std::max(iconRect.width(), ICON_PIXELS),
                      std::max(iconRect.height(), ICON_PIXELS));
    icon->setPixmap(QIcon(QStringLiteral(":/quorvel-32.png")).pixmap(ICON_PIXELS, ICON_PIXELS));
    icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    const std::pair<QRect, const char*> lines[] = {{VERSION_RECT, MainTexts::ABOUT_VERSION},
                                                   {RIGHTS_RECT, MainTexts::ABOUT_RIGHTS},
                                                   {CONTACT_RECT, MainTexts::ABOUT_CONTACT}};
    for (const auto& [rect, text] : lines) {
        auto* label = new QLabel(QString::fromUtf8(text), this);
        label->setTextFormat(Qt::PlainText);
        label->setGeometry(units.ToTextPixels(rect));
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    icon->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void CAboutDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        accept();
    }
    QDialog::mouseReleaseEvent(event);
}

void CAboutDlg::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
