#pragma once

#include <QDialog>

class QTimer;

namespace tradumar {

// frmAcerca: the credits panel (Picture2) rises through its viewport
// (Picture1) and enters again from below, for as long as the window is open.
// Positions are kept in twips, 15 to the pixel: the panel starts at 2640,
// rises 5 a step and re-enters at 2655 once its top has reached -2655, the
// negative of its height, exactly.
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int kPanelHeight = 2655;
    static constexpr int kStartTop = 2640;
    static constexpr int kStep = 5;
    // Timer1 fires every 15 ms and moves the panel 3 steps, one pixel: a
    // step every 5 ms, the finest the desktop's timers keep steadily.
    static constexpr int kTimerInterval = 15;
    static constexpr int kStepsPerTick = 3;

    explicit AboutWindow(QWidget* owner = nullptr);

    int panelTop() const { return m_top; } // in twips

private:
    void scroll();

    QWidget* m_panel = nullptr;
    QTimer* m_timer = nullptr;
    int m_top = kStartTop;
};

} // namespace tradumar
