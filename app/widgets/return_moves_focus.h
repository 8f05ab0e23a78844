#pragma once
// Return (or Enter) in a field moves to the next field like Tab, instead of
// closing the dialog or doing nothing.

class QWidget;

namespace kv::app {

void ReturnMovesFocus(QWidget* field);

}  // namespace kv::app
