// The names of the files made from a medium's animations, each its own: an
// animation's path below the base folder without its extension. One that
// would take a name another has, as Windows compares names (A.FLC and A.FLI
// both make A.GIF), takes A_FLI, then A_FLI_2 and so on.
#pragma once

#include <map>
#include <string>

class OutputNames {
public:
    // The name for `relative` (either separator); the same again for the
    // same `relative`.
    std::string Take(const std::string& relative);
    // The `relative` that has the name `name`; empty when none has it.
    std::string Owner(const std::string& name) const;

private:
    std::map<std::string, std::string> owners_;     // folded name: its relative path
};

// `relative` without the extension of its last name ("A\B.FLC": "A\B"); a
// name that starts with its only dot keeps it.
std::string WithoutExtension(const std::string& relative);
