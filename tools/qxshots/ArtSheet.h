#pragma once

#include <QString>

namespace qxshots {

// Writes art-LOOK.png for each look and art-SHARED.png into dir; non-zero when a
// picture of the catalog is missing from the resources or has the wrong size.
int writeArtSheets(const QString& dir);

}  // namespace qxshots
