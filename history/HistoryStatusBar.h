#pragma once

#include <QStatusBar>
#include <QString>

// The history window's status bar: two text parts side by side, the first ending at a
// given x and the second running to the right edge. It lays nothing out on its own; the
// window gives it its rectangle.
class CHistoryStatusBar : public QStatusBar {
    Q_OBJECT

public:
    // The two parts: the average temperature on the left, the average heat on the right.
    static constexpr int TEMPERATURE_PART = 0;
    static constexpr int HEAT_PART = 1;
    static constexpr int PART_COUNT = 2;

    explicit CHistoryStatusBar(QWidget* parent);

    // Right edge of part 0; part 1 takes the rest of the bar.
    void SetParts(int firstPartRight);
    int FirstPartRight() const { return m_nFirstPartRight; }
    // Ignores a part number other than 0 or 1.
    void SetText(int part, const QString& text);
    QString Text(int part) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_nFirstPartRight = 0;
    QString m_texts[PART_COUNT];
};
