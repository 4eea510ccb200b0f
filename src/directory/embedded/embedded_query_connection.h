#pragma once

#include <memory>

#include "common/directory.h"
#include "directory/embedded/directory_store.h"

namespace vorlane::embedded {

// Runs four-part query texts against the store, page by page with the paged-results control
// (the store caps a search without it at 1000 entries, as Windows AD does), so that every
// matching row comes back.
class EmbeddedQueryConnection : public QueryConnection {
  public:
    static constexpr int kPageSize = 500;

    explicit EmbeddedQueryConnection(std::shared_ptr<DirectoryStore> store);

    Result<void> open(const QString& connectionString) override;
    bool isOpen() const override { return open_; }
    Result<void> close() override;
    Result<std::unique_ptr<RecordSet>> execute(const QString& commandText) override;

  private:
    std::shared_ptr<DirectoryStore> store_;
    bool open_ = false;
};

}  // namespace vorlane::embedded
