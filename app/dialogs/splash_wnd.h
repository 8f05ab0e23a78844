#pragma once
// The splash screen: a borderless picture centred on the screen, closed after
// five seconds or at the first key or mouse press anywhere in the program.

#include <QWidget>

namespace kv::app {

class CSplashWnd final : public QWidget {
  Q_OBJECT
public:
  static constexpr int kShowMs = 5000;

  // Shows the splash unless one is showing already.
  static void ShowSplash();
  static bool IsShowing();
  static void HideSplash();

protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  CSplashWnd();
  ~CSplashWnd() override;
  QPixmap m_picture;
};

}  // namespace kv::app
