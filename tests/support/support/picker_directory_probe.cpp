#include "support/picker_directory_probe.h"

namespace vorlane::testing {

Failure pickerServerDown() {
    return {0x8007203A, QStringLiteral("The server is not operational.")};
}

class PickerProbeConnection : public QueryConnection {
  public:
    PickerProbeConnection(PickerDirectoryProbe& probe, std::unique_ptr<QueryConnection> inner)
        : probe_(probe), inner_(std::move(inner)) {}

    Result<void> open(const QString& connectionString) override {
        if (probe_.unreachable_) return fail(pickerServerDown());
        return inner_->open(connectionString);
    }
    bool isOpen() const override { return inner_->isOpen(); }
    Result<void> close() override {
        ++probe_.connectionsClosed_;
        return inner_->close();
    }
    Result<std::unique_ptr<RecordSet>> execute(const QString& commandText) override {
        probe_.commandTexts_.append(commandText);
        switch (probe_.answer_) {
            case PickerDirectoryProbe::QueryAnswer::Directory:
                return inner_->execute(commandText);
            case PickerDirectoryProbe::QueryAnswer::Failure:
                return fail(probe_.failure_);
            case PickerDirectoryProbe::QueryAnswer::NoRecordSet:
                return std::unique_ptr<RecordSet>();
            case PickerDirectoryProbe::QueryAnswer::ClosedRecordSet: {
                auto records = std::make_unique<RecordSet>(
                    QStringList{QStringLiteral("AdsPath")},
                    std::vector<RecordSet::Row>{{QStringList{QStringLiteral("LDAP://OU=X")}}});
                (void)records->close();
                return records;
            }
        }
        return fail(failures::invalidFilter());
    }

  private:
    PickerDirectoryProbe& probe_;
    std::unique_ptr<QueryConnection> inner_;
};

Result<std::unique_ptr<DirectoryObject>> PickerDirectoryProbe::bindObject(const QString& path) {
    if (unreachable_) return fail(pickerServerDown());
    return inner_.bindObject(path);
}

Result<std::unique_ptr<DirectoryGroup>> PickerDirectoryProbe::bindGroup(const QString& path) {
    if (unreachable_) return fail(pickerServerDown());
    return inner_.bindGroup(path);
}

Result<std::unique_ptr<DirectoryContainer>> PickerDirectoryProbe::bindContainer(
    const QString& path) {
    if (unreachable_) return fail(pickerServerDown());
    return inner_.bindContainer(path);
}

std::unique_ptr<QueryConnection> PickerDirectoryProbe::createQueryConnection() {
    ++connectionsCreated_;
    return std::make_unique<PickerProbeConnection>(*this, inner_.createQueryConnection());
}

}  // namespace vorlane::testing
