#include "medium/output_names.h"

#include "medium/file_system.h"

std::string WithoutExtension(const std::string& relative)
{
    std::size_t start = relative.find_last_of("\\/");
    start = start == std::string::npos ? 0 : start + 1;
    std::size_t dot = relative.find_last_of('.');
    return dot == std::string::npos || dot <= start ? relative : relative.substr(0, dot);
}

std::string OutputNames::Take(const std::string& relative)
{
    const std::string plain = WithoutExtension(relative);
    const std::string extension = relative.substr(plain.size());
    const std::string tagged = extension.size() > 1 ? plain + "_" + extension.substr(1) : plain;
    std::string name = plain;
    for (int n = 1;; ++n) {
        auto taken = owners_.emplace(FoldedName(name), relative);
        if (taken.second || taken.first->second == relative)
            return name;
        name = n == 1 && tagged != plain ? tagged : tagged + "_" + std::to_string(n);
    }
}

std::string OutputNames::Owner(const std::string& name) const
{
    auto found = owners_.find(FoldedName(name));
    return found == owners_.end() ? std::string() : found->second;
}
