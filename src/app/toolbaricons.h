#pragma once

#include <QIcon>

namespace qel {

// A 24 x 24 picture for a toolbar command; a null icon for commands without one.
QIcon commandIcon(int commandId);

} // namespace qel
