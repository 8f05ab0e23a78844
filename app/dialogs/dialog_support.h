#pragma once
// Pieces every dialog of the program shares.

#include <QDialogButtonBox>
#include <QString>

class QDialog;
class QGroupBox;
class QRadioButton;
class QWidget;

namespace kv::app {

// OK and Cancel (and Help when topic is given), translated and wired to the dialog.
QDialogButtonBox* OkCancelButtons(QDialog* dialog, const QString& topic = QString());

// A titled pair of radio buttons (English texts, translated here), the first
// two of a group of their own.
QGroupBox* RadioPair(QWidget* parent, const char* title, QRadioButton*& first, const char* firstText,
                     QRadioButton*& second, const char* secondText);
// "Algorithm" with ZH-L16C, the only one offered.
QGroupBox* AlgorithmBox(QWidget* parent);

}  // namespace kv::app
