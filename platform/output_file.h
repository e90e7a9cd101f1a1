#pragma once
// The one way the program writes a file: projects, reports, images and
// tables, from the window and from every command.
//
// An output is checked before anything is opened: an empty name, a name
// that ends in a folder separator, a folder, a pipe, a device, a socket, a
// read-only file (by its permission bits, also for a user whom the system
// would let write anyway), links that lead round in a circle, and the very
// file one of the inputs is (same device and inode, through links) are
// refused with the reason. A link is kept and the file it leads to is
// replaced, keeping its permissions and owner. The bytes go to a temporary
// file in the same folder that is renamed over the target only when it is
// complete (QSaveFile), so a failed write leaves the old file whole and no
// temporary file behind. Nothing here ever opens a pipe or a device, so
// nothing blocks.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/textfile.h"

class QIODevice;

namespace verrane::platform {

// What a file that is not a regular file is ("a folder", "a pipe", "a
// socket", "a device"), for the messages; `mode` as stat gives it.
std::string FileKind(unsigned mode);

// Throws TextFileError naming the file and the reason when `file` cannot be
// written safely (see above). A file that does not exist yet passes when
// its name is a real name.
void CheckOutputFile(const std::filesystem::path& file, const std::vector<std::filesystem::path>& inputs = {});

// Checks as CheckOutputFile does and writes `bytes` atomically; throws
// TextFileError naming the file and the cause.
void WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes,
                         const std::vector<std::filesystem::path>& inputs = {});

// The same for bytes Qt produces: `produce` writes them into the device it
// is given (a buffer in memory: QPdfWriter, QImage::save) and returns false
// when it could not; nothing is written then.
void WriteFileAtomically(const std::filesystem::path& file, const std::function<bool(QIODevice&)>& produce,
                         const std::vector<std::filesystem::path>& inputs = {});

// `name` with `extension` (".tor") added when its file name has none. An
// empty name, one that ends in a folder separator, and the name of anything
// but a regular file (a folder, a device, a pipe, a link) are returned as they are,
// so that writing them is refused rather than making a hidden ".tor" or a
// new file beside a device.
std::filesystem::path WithExtension(const std::filesystem::path& name, std::string_view extension);

}  // namespace verrane::platform
