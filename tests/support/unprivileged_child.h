#pragma once

#include <gtest/gtest.h>

#include <filesystem>

namespace brevant::test {

// Root may read and write anything, so a permission test runs its checks in a
// second copy of this test program as the unprivileged user. The test's body:
//
//   if (InUnprivilegedChild()) { ...checks on ChildFolder()...; return; }
//   ...prepare a folder...
//   EXPECT_TRUE(RunThisTestUnprivileged(folder));
//   ...check what the child left behind...

// True inside the child (and notes that the child really ran).
bool InUnprivilegedChild();

// The folder that the parent handed to the child.
std::filesystem::path ChildFolder();

// Runs the current test again as the unprivileged user with `folder` as its
// ChildFolder(); succeeds when the child ran as that user and its checks passed.
::testing::AssertionResult RunThisTestUnprivileged(const std::filesystem::path& folder);

}  // namespace brevant::test
