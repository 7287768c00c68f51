#pragma once

#include <QRect>
#include <QSize>

#include <QFont>

// Dialog layouts are given in dialog units, which scale with the dialog's font: a horizontal
// unit is a quarter of the font's average character width, a vertical unit an eighth of its
// character height. This converts them to pixels the way the classic window system does, so
// that a layout keeps its proportions with any font.
//
// The character height is the font's em, the height its characters are designed in, not its
// line spacing: the classic dialog fonts have a line exactly one em high, while CJK fonts such
// as Noto Sans CJK JP add almost half an em of spacing, which would make every layout almost
// half as tall again. A text control of a template is one em high, so it is grown to one line
// of the font (ToTextPixels) to show its text whole.
class DialogUnits {
public:
    // Base units of the font: the average width of the 52 Latin letters, rounded, and the
    // font's em in pixels; the line height is the font's. None is ever below 1, so a missing
    // font cannot collapse a layout.
    explicit DialogUnits(const QFont& font);
    // Given base units; the line height defaults to the base height (no growth).
    DialogUnits(int baseX, int baseY, int lineHeight = 0);

    int BaseX() const { return m_nBaseX; }
    int BaseY() const { return m_nBaseY; }
    int LineHeight() const { return m_nLineHeight; }

    // dlu * base / 4 (horizontal) and dlu * base / 8 (vertical), rounded half away from zero.
    int ToPixelsX(int dluX) const;
    int ToPixelsY(int dluY) const;

    // Position and size are scaled each on its own, as dialog templates are laid out.
    QRect ToPixels(const QRect& dluRect) const;
    QSize ToPixels(const QSize& dluSize) const;
    // A control that shows text: as ToPixels, but at least one line high, grown evenly about
    // the middle of its place (the extra pixel, if odd, below).
    QRect ToTextPixels(const QRect& dluRect) const;

private:
    int m_nBaseX;
    int m_nBaseY;
    int m_nLineHeight;
};

// The font of the program's dialogs: Noto Sans CJK JP at 9 points (Qt substitutes the
// closest family when it is missing).
QFont DialogFont();
