#include "directory/embedded/embedded_directory.h"
#include "directory_conformance.h"
#include "provisioned_domain.h"

namespace vorlane::conformance {
namespace {

Backend embeddedBackend(bool hasMailNickname) {
    const QString domain = QStringLiteral("DC=example,DC=com");
    return {hasMailNickname ? QStringLiteral("Embedded") : QStringLiteral("EmbeddedSambaSchema"),
            domain, hasMailNickname, [domain, hasMailNickname]() -> std::unique_ptr<Directory> {
                auto store = testing::storeFromLdif(domain, fixtureLdif(domain),
                                                    embedded::SchemaOptions{hasMailNickname});
                return std::make_unique<embedded::EmbeddedDirectory>(store);
            }};
}

INSTANTIATE_TEST_SUITE_P(Backends, DirectoryConformance,
                         ::testing::Values(embeddedBackend(true), embeddedBackend(false)),
                         backendName);

}  // namespace
}  // namespace vorlane::conformance
