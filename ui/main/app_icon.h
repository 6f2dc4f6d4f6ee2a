#pragma once

#include <QIcon>

// The program's icon, from the PNGs that the build renders from
// packaging/inkquot.svg: the same pictures the desktop menu shows.
QIcon applicationIcon();
