#pragma once
#include <QString>

namespace qxshots {

// One PNG per look of a plain window holding every skinned control in its states.
int writeGalleries(const QString& dir);

}  // namespace qxshots
