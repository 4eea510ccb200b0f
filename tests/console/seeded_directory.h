#pragma once

#include <gtest/gtest.h>

#include "common/directory.h"
#include "directory/open_directory.h"
#include "support/provisioning_domain.h"
#include "support/temp_dir.h"

namespace vorlane::testing {

// A fresh embedded directory (the demo domain, its state in a scratch folder) holding the
// provisioning domain's test entries.
class SeededDirectory {
  public:
    SeededDirectory()
        : opened_(
              openDirectory({.embeddedStateFile = dir_.file(QStringLiteral("directory.ldif"))})) {
        EXPECT_TRUE(opened_.problem.isEmpty()) << opened_.problem.toStdString();
        const auto seeded = provisioning_domain::seed(*opened_.directory);
        EXPECT_TRUE(seeded) << (seeded ? QString() : failureSuffix(seeded.error())).toStdString();
    }
    Directory& directory() { return *opened_.directory; }

  private:
    TempDir dir_;
    OpenedDirectory opened_;
};

}  // namespace vorlane::testing
