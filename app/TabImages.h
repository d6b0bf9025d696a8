#pragma once

#include <QIcon>

// The 16 x 16 picture of a page's tab (`ObrazkiDoKart`), 0 to 9 in tab order.
QIcon TabImage(int index);
