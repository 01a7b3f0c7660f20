#pragma once

#include "update/batch_template.h"

#include <QString>

namespace lexora {

enum class InstallPreparation { Prepared, ArchiveMissing };

// Prepares the installation in paths.tempFolder: unpacks the archive zipFileName there, fills its
// "Update.bat" (see fillBatchTemplate) and writes it back, then deletes the archive. The script is
// then ready to run after the program has ended. ArchiveMissing when there is no archive; throws
// Error when it cannot be unpacked or holds no usable "Update.bat".
InstallPreparation prepareInstallation(const BatchPaths &paths, const QString &zipFileName,
                                       bool restart);

} // namespace lexora
