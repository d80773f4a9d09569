#pragma once
// Runs a check once with each SIMD instruction set the kernels were built for and this
// processor runs (the plain code included).
#include "effects/pixel_kernels.h"
#include <gtest/gtest.h>
#include <hwy/targets.h>
#include <functional>
#include <vector>

namespace orv::test {

inline void ForEachKernelTarget(const std::function<void()>& check)
{
    const std::vector<int64_t> targets = hwy::SupportedAndGeneratedTargets();
    ASSERT_GE(targets.size(), 2u) << "at least one SIMD instruction set and the plain code";
    for (const int64_t target : targets) {
        hwy::SetSupportedTargetsForTest(target);
        SCOPED_TRACE(hwy::TargetName(target));
        ASSERT_STREQ(kernels::KernelTargetName(), hwy::TargetName(target));
        check();
    }
    hwy::SetSupportedTargetsForTest(0);   // the kernels choose again
}

} // namespace orv::test
