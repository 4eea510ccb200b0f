#pragma once

#include <gtest/gtest.h>

#include "common/directory.h"
#include "support/memory_directory.h"
#include "support/provisioning_domain.h"

namespace vorlane::testing {

// A fresh directory holding the provisioning domain's test entries.
class SeededDirectory {
  public:
    SeededDirectory() {
        const auto seeded = provisioning_domain::seed(memory_);
        EXPECT_TRUE(seeded) << (seeded ? QString() : failureSuffix(seeded.error())).toStdString();
    }
    Directory& directory() { return memory_; }

  private:
    MemoryDirectory memory_;
};

}  // namespace vorlane::testing
