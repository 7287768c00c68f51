#pragma once

#include <QMargins>
#include <QObject>
#include <QRect>
#include <vector>

#include "Profile.h"

class QWidget;

// One screen: its whole area and the part of it that windows may take (without panels).
struct ScreenArea {
    QRect geometry;
    QRect available;
};

// The screens of the display, the primary one first.
std::vector<ScreenArea> CurrentScreens();

// Makes a stored outer rectangle safe to show. A rectangle with no area, or one that
// overlaps no screen, is replaced by `fallback`. The result is clamped to the available
// area of the screen it overlaps most: no larger than that area and lying inside it, so the
// title strip can always be reached. The stored values may be any ints: nothing here
// overflows.
ScreenRect HealWindowRect(const ScreenRect& stored, const ScreenRect& fallback,
                          const std::vector<ScreenArea>& screens);

// Puts a top-level window's outer rectangle (frame included) at a stored rectangle. The
// frame's size is known only once the window manager has framed the window, which may
// happen long after it is shown: the window is placed at once with the frame known so far
// (none before the first map) and placed again when the frame's margins become known,
// whenever that is. After that the window is left to the user.
class COuterRectPlacer : public QObject {
public:
    explicit COuterRectPlacer(QWidget* window);

    void Place(const ScreenRect& rect);
    // The window's outer rectangle now; a hidden window counts with the frame it had when
    // it was last shown (none if it never was).
    ScreenRect OuterRect() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Apply(const QMargins& margins);
    void CorrectWhenFramed();
    QMargins FrameMargins() const;

    QWidget* m_window;
    ScreenRect m_rect;
    mutable QMargins m_lastFrame;  // the frame's margins when they were last known
    QMargins m_applied;            // frame margins the last placement allowed for
    int m_corrections = 0;
    bool m_pending = false;
    bool m_applying = false;
};
