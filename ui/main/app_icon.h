#pragma once

#include <QIcon>

// The program's icon, drawn at run time (an ink-blue tile with the
// character 墨), so that no binary image is kept in the sources.
QIcon applicationIcon();
