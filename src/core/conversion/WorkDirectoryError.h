#pragma once

#include <QString>

namespace velmarto {

// The work directory could not be created. This is the file system's own failure, not a stage of
// the pipeline, so it carries only the system's description.
struct WorkDirectoryError {
    QString description;

    friend bool operator==(const WorkDirectoryError&, const WorkDirectoryError&) = default;
};

} // namespace velmarto
