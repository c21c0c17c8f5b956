#pragma once

#include <QDialog>

class QLabel;
class QTimer;

namespace tradumar {

// frmSplash: the picture shown once while the program starts. It closes
// itself after 2500 ms (Timer1) or when the picture (Picture1) is clicked.
class SplashWindow : public QDialog {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget* owner = nullptr);

    // False when the program was started with --no-splash or with
    // TRADUMAR_NO_SPLASH set (tests and screenshots start without it).
    static bool wanted(const QStringList& arguments);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* m_picture = nullptr;
    QTimer* m_timer = nullptr;
};

} // namespace tradumar
