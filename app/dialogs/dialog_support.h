#pragma once
// Pieces every dialog of the program shares.

#include <QDialogButtonBox>
#include <QString>

class QDialog;

// OK and Cancel (and Help when topic is given), translated and wired to the dialog.
QDialogButtonBox* OkCancelButtons(QDialog* dialog, const QString& topic = QString());
