// Finding the templates that fxtlint checks: each path named, and every
// *.fxt file below each directory named. A path that cannot be walked is
// never skipped in silence: it becomes a problem.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace fxt {

// A path that could not be checked, and why.
struct PathProblem {
  std::string path;
  std::string reason;
};

// The files to check, in order: each path named as it stands, and for a
// directory every file below it whose name ends in .fxt (in any letter
// case), sorted. Folders whose names begin with a dot are passed over;
// symbolic links to folders are followed, and a link back to a folder
// above it is a problem. Each folder is walked once: a later way to a folder
// already walked is passed over. A directory without any template is a
// problem. The walk stops once it has found `mostFiles` files, or when
// `keepGoing`, asked before each folder is read, says no.
std::vector<std::string> CollectTemplates(const std::vector<std::string>& paths,
                                          std::vector<PathProblem>& problems,
                                          size_t mostFiles = SIZE_MAX,
                                          const std::function<bool()>& keepGoing = {});

}  // namespace fxt
