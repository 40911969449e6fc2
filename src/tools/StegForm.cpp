#include "tools/StegForm.h"

TStegForm::TStegForm(QWidget* parent) : QDialog(parent)
{
}
