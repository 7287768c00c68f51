#pragma once

#include <QWidget>
#include <functional>

// The vessel's place in the keyboard's tab order: a child over the frame that takes the focus
// after the buttons and hands its keys to the window, which draws the frame and the focus
// mark. The mouse goes through it to the window.
class CVesselFocus : public QWidget {
public:
    // `key` gets each key pressed while the vessel has the focus and says whether it used it;
    // `focusChanged` is called when the focus comes or goes.
    CVesselFocus(QWidget* parent, std::function<bool(int key)> key,
                 std::function<void()> focusChanged);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    std::function<bool(int)> m_key;
    std::function<void()> m_focusChanged;
};
