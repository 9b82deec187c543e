// The files a word database is built through. velmora-mkdb writes a new
// database as TARGET.part-PID beside its target and renames it when it is
// whole; a killed build leaves that part behind.
#pragma once

#include <string>

namespace store {

// The part file a build by this process writes for `target`.
std::string PartFile(const std::string& target);

// Removes from `folder` the parts that killed builds left: files named
// NAME.mdb.part-PID (or TARGET.part-PID for the file name `target`) that are
// empty or SQLite files and whose process is gone. Anything else, however
// named, is someone else's and stays.
void RemoveDeadParts(const std::string& folder, const std::string& target = {});

// Why no new file can be made in `folder`, in plain words: a missing folder
// (unless `makeFolders`, which would make it), a file in the way, no
// permission, a read-only disk. Empty when nothing stands in the way.
std::string WhyNotWritable(const std::string& folder, bool makeFolders = false);

}  // namespace store
