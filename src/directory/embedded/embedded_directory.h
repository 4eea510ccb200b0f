#pragma once

#include <memory>

#include "common/directory.h"
#include "directory/embedded/directory_store.h"

namespace vorlane::embedded {

// The Directory over an in-process store. Without a store the directory is unreachable:
// every bind and query fails with the server-not-operational failure.
class EmbeddedDirectory : public Directory {
  public:
    explicit EmbeddedDirectory(std::shared_ptr<DirectoryStore> store);

    Result<std::unique_ptr<DirectoryObject>> bindObject(const QString& path) override;
    Result<std::unique_ptr<DirectoryGroup>> bindGroup(const QString& path) override;
    Result<std::unique_ptr<DirectoryContainer>> bindContainer(const QString& path) override;
    std::unique_ptr<QueryConnection> createQueryConnection() override;

    const std::shared_ptr<DirectoryStore>& store() const { return store_; }

  private:
    std::shared_ptr<DirectoryStore> store_;
};

}  // namespace vorlane::embedded
