#pragma once

#include <QImage>

// The program's icon, drawn at `size` pixels square: an invoice sheet and an arrow carrying it
// to the bank, on a rounded square in the colour of a bank transfer form.
QImage DrawProgramIcon(int size);
