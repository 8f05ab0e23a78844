#include "app/widgets/return_moves_focus.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace kv::app {
namespace {

class CReturnFilter final : public QObject {
public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
        (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
      return false;
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(watched, &tab);
    return true;
  }
};

}  // namespace

void ReturnMovesFocus(QWidget* field) {
  static CReturnFilter* filter = new CReturnFilter(QCoreApplication::instance());
  field->installEventFilter(filter);
}

}  // namespace kv::app
