#pragma once

#include <QRect>
#include <QSize>

#include <QFont>

// Dialog layouts are given in dialog units, which scale with the dialog's font: a horizontal
// unit is a quarter of the font's average character width, a vertical unit an eighth of its
// height. This converts them to pixels the way the classic window system does, so that a
// layout keeps its proportions with any font.
class DialogUnits {
public:
    // Base units of the font: the average width of the 52 Latin letters, rounded, and the
    // font's height. Neither is ever below 1, so a missing font cannot collapse a layout.
    explicit DialogUnits(const QFont& font);
    DialogUnits(int baseX, int baseY);

    int BaseX() const { return m_nBaseX; }
    int BaseY() const { return m_nBaseY; }

    // dlu * base / 4 (horizontal) and dlu * base / 8 (vertical), rounded half away from zero.
    int ToPixelsX(int dluX) const;
    int ToPixelsY(int dluY) const;

    // Position and size are scaled each on its own, as dialog templates are laid out.
    QRect ToPixels(const QRect& dluRect) const;
    QSize ToPixels(const QSize& dluSize) const;

private:
    int m_nBaseX;
    int m_nBaseY;
};

// The font of the program's dialogs: Noto Sans CJK JP at 9 points (Qt substitutes the
// closest family when it is missing).
QFont DialogFont();
