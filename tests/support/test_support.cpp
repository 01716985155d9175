#include "test_support.h"

#include <cstdlib>

namespace kvtest {

std::string TestDataPath(const std::string& name) {
    const char* dir = std::getenv("KAVOLT_TESTDATA");
    std::string path = dir && *dir ? dir : ".";
    if (path.back() != '/') path += '/';
    return path + name;
}

}  // namespace kvtest
