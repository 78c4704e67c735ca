// Makes one step of the atomic file write fail with a given errno for the
// lifetime of the scope, through the file layer's test seam.
#pragma once

#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace varn::test {

class InjectedFailure {
public:
    // `times`: how many calls of the step fail before it works again (-1: all).
    InjectedFailure(std::string step, int code, int times = -1) {
        fsys::setFailureInjection([step = std::move(step), code, times](std::string_view s) mutable {
            if (s != step || times == 0) return 0;
            if (times > 0) --times;
            return code;
        });
    }
    ~InjectedFailure() { fsys::setFailureInjection({}); }
    InjectedFailure(const InjectedFailure&) = delete;
    InjectedFailure& operator=(const InjectedFailure&) = delete;
};

}  // namespace varn::test
