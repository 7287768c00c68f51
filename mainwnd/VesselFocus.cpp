#include "VesselFocus.h"

#include <QKeyEvent>
#include <utility>

CVesselFocus::CVesselFocus(QWidget* parent, std::function<bool(int key)> key,
                           std::function<void()> focusChanged)
    : QWidget(parent), m_key(std::move(key)), m_focusChanged(std::move(focusChanged)) {
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void CVesselFocus::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (m_key(event->key())) {
            event->accept();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

void CVesselFocus::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    m_focusChanged();
}

void CVesselFocus::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    m_focusChanged();
}
