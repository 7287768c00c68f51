#pragma once

#include <QDialog>

class QKeyEvent;
class QMouseEvent;

// The caption-less About box: the icon, the version, a rights notice and a contact line.
// A click anywhere on it closes it, as do Enter and Escape.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Enter ends the box as OK does; the box has no button that could take it by default.
    void keyPressEvent(QKeyEvent* event) override;
};
