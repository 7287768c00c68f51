#include "Placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScopedValueRollback>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdint>

namespace {

using Wide = std::int64_t;

// Overlap of the rectangle (left, top, width, height) with `area`, in square pixels.
Wide OverlapArea(Wide left, Wide top, Wide width, Wide height, const QRect& area) {
    const Wide x0 = std::max<Wide>(left, area.left());
    const Wide x1 = std::min<Wide>(left + width, Wide{area.left()} + area.width());
    const Wide y0 = std::max<Wide>(top, area.top());
    const Wide y1 = std::min<Wide>(top + height, Wide{area.top()} + area.height());
    return x1 > x0 && y1 > y0 ? (x1 - x0) * (y1 - y0) : 0;
}

// The screen `r` overlaps most, or nullptr when it has no area or lies on no screen.
const ScreenArea* ScreenOf(const ScreenRect& r, const std::vector<ScreenArea>& screens) {
    const Wide width = Wide{r.right} - r.left;
    const Wide height = Wide{r.bottom} - r.top;
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    const ScreenArea* best = nullptr;
    Wide bestArea = 0;
    for (const ScreenArea& screen : screens) {
        const Wide area = OverlapArea(r.left, r.top, width, height, screen.geometry);
        if (area > bestArea) {
            best = &screen;
            bestArea = area;
        }
    }
    return best;
}

ScreenRect ClampInto(const ScreenRect& r, const QRect& area) {
    const Wide width = std::min<Wide>(Wide{r.right} - r.left, area.width());
    const Wide height = std::min<Wide>(Wide{r.bottom} - r.top, area.height());
    const Wide left =
        std::clamp<Wide>(r.left, area.left(), Wide{area.left()} + area.width() - width);
    const Wide top = std::clamp<Wide>(r.top, area.top(), Wide{area.top()} + area.height() - height);
    return ScreenRect{static_cast<int>(left), static_cast<int>(top), static_cast<int>(left + width),
                      static_cast<int>(top + height)};
}

// The margins of the window manager's frame around `window`, or none while they are not
// known. Until the window manager has framed the window and published its frame, the
// platform may report margins measured from the unframed window (negative ones) or from a
// frame the window has not yet been moved into (no title strip): those are not a frame.
QMargins KnownFrameMargins(const QWindow& window) {
    const QMargins m = window.frameMargins();
    const bool known = m.left() >= 0 && m.top() > 0 && m.right() >= 0 && m.bottom() >= 0;
    return known ? m : QMargins();
}

}  // namespace

std::vector<ScreenArea> CurrentScreens() {
    std::vector<ScreenArea> screens;
    QList<QScreen*> all = QGuiApplication::screens();
    if (QScreen* primary = QGuiApplication::primaryScreen()) {
        all.removeAll(primary);
        all.prepend(primary);
    }
    for (const QScreen* screen : all) {
        screens.push_back({screen->geometry(), screen->availableGeometry()});
    }
    return screens;
}

ScreenRect HealWindowRect(const ScreenRect& stored, const ScreenRect& fallback,
                          const std::vector<ScreenArea>& screens) {
    if (screens.empty()) {
        return stored;  // nothing to measure against
    }
    ScreenRect rect = stored;
    const ScreenArea* screen = ScreenOf(rect, screens);
    if (screen == nullptr) {
        rect = fallback;
        screen = ScreenOf(rect, screens);
        if (screen == nullptr) {
            screen = &screens.front();
        }
    }
    const QRect& area = screen->available.isEmpty() ? screen->geometry : screen->available;
    return area.isEmpty() ? rect : ClampInto(rect, area);
}

COuterRectPlacer::COuterRectPlacer(QWidget* window) : QObject(window), m_window(window) {
    m_window->installEventFilter(this);
}

void COuterRectPlacer::Place(const ScreenRect& rect) {
    m_window->winId();  // the native window exists from now on, so its events can be watched
    QWindow* handle = m_window->windowHandle();
    handle->removeEventFilter(this);
    handle->installEventFilter(this);
    m_rect = rect;
    m_corrections = 0;
    m_pending = true;
    Apply(m_window->isVisible() ? KnownFrameMargins(*handle) : QMargins());
    CorrectWhenFramed();
}

void COuterRectPlacer::Apply(const QMargins& margins) {
    // The move and resize events of the placement itself say nothing new.
    const QScopedValueRollback applying(m_applying, true);
    m_applied = margins;
    const int width = std::max(1, m_rect.Width() - margins.left() - margins.right());
    const int height = std::max(1, m_rect.Height() - margins.top() - margins.bottom());
    if (margins.isNull()) {
        // Not framed yet: move() asks for the outer frame's corner to go to the place,
        // whatever frame the window manager gives it.
        m_window->resize(width, height);
        m_window->move(m_rect.left, m_rect.top);
    } else {
        m_window->setGeometry(m_rect.left + margins.left(), m_rect.top + margins.top(), width,
                              height);
    }
}

bool COuterRectPlacer::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::Expose:
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::WindowStateChange:
            // Only what the window system reports counts: a placement's own events show
            // the geometry asked for, not the one the window manager has carried out.
            if (m_pending && !m_applying && event->spontaneous()) {
                CorrectWhenFramed();
            }
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

void COuterRectPlacer::CorrectWhenFramed() {
    // Each framing is met by at most a few placements, so a window manager that moves the
    // window on its own cannot start an endless exchange.
    constexpr int MAX_CORRECTIONS = 5;
    const QWindow* handle = m_window->windowHandle();
    if (handle == nullptr || !m_window->isVisible() ||
        (m_window->windowState() &
         (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))) {
        return;
    }
    const QMargins margins = FrameMargins();
    if (margins.isNull()) {
        return;  // not framed yet, or no window manager (then the first placement was right)
    }
    const QRect outer = m_window->geometry().marginsAdded(margins);
    const QRect wanted(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height());
    if (margins == m_applied && outer == wanted) {
        m_pending = false;  // framed and in place: from now on the window is the user's
        return;
    }
    if (m_corrections >= MAX_CORRECTIONS) {
        m_pending = false;
        return;
    }
    ++m_corrections;
    Apply(margins);
}

QMargins COuterRectPlacer::FrameMargins() const {
    // A hidden window may have no frame to ask about: it keeps the one last known.
    if (const QWindow* handle = m_window->windowHandle()) {
        if (const QMargins margins = KnownFrameMargins(*handle); !margins.isNull()) {
            m_lastFrame = margins;
        }
    }
    return m_lastFrame;
}

ScreenRect COuterRectPlacer::OuterRect() const {
    const QRect outer = m_window->geometry().marginsAdded(FrameMargins());
    return ScreenRect{outer.left(), outer.top(), outer.left() + outer.width(),
                      outer.top() + outer.height()};
}
