#include "support/faulty_directory.h"

#include <optional>

namespace vorlane::testing {

struct FaultyDirectory::Plan {
    QMap<QString, Failure> failures;  // by lower-case rule
    QMap<QString, QStringList> answers;
    QMap<QString, int> counts;
    QStringList calls;

    // Records the call and finds the first rule that matches it in table.
    template <class T>
    std::optional<T> match(const QMap<QString, T>& table, const QString& op, const QString& arg,
                           int count) const {
        for (const QString& rule : {op, op + u':' + arg, op + u'#' + QString::number(count)}) {
            const auto found = table.constFind(rule.toLower());
            if (found != table.constEnd()) return *found;
        }
        return std::nullopt;
    }

    Result<void> check(const QString& op, const QStringList& args = {}) {
        const int count = ++counts[op];
        calls << op + u'(' + args.join(u',') + u')';
        if (auto failure = match(failures, op, args.value(0), count)) return fail(*failure);
        return {};
    }

    std::optional<QStringList> answerFor(const QString& name) const {
        return match(answers, QStringLiteral("get"), name, counts.value(QStringLiteral("get")));
    }
};

namespace {

using Plan = FaultyDirectory::Plan;

std::unique_ptr<DirectoryObject> wrap(std::unique_ptr<DirectoryObject> inner,
                                      std::shared_ptr<Plan> plan);

template <class Base>
class FaultyView : public Base {
  public:
    FaultyView(std::unique_ptr<Base> inner, std::shared_ptr<Plan> plan)
        : inner_(std::move(inner)), plan_(std::move(plan)) {}

    QString adsPath() const override { return inner_->adsPath(); }
    Result<QStringList> getValues(const QString& name) const override {
        if (auto checked = plan_->check(QStringLiteral("get"), {name}); !checked) {
            return fail(checked.error());
        }
        if (auto answer = plan_->answerFor(name)) return *answer;
        return inner_->getValues(name);
    }
    Result<void> put(const QString& name, const QString& value) override {
        if (auto checked = plan_->check(QStringLiteral("put"), {name, value}); !checked) {
            return checked;
        }
        return inner_->put(name, value);
    }
    Result<void> setInfo() override {
        if (auto checked = plan_->check(QStringLiteral("setInfo")); !checked) return checked;
        return inner_->setInfo();
    }

  protected:
    std::unique_ptr<Base> inner_;
    std::shared_ptr<Plan> plan_;
};

class FaultyObject : public FaultyView<DirectoryObject> {
    using FaultyView::FaultyView;
};

class FaultyGroup : public FaultyView<DirectoryGroup> {
  public:
    using FaultyView::FaultyView;

    Result<QString> description() const override {
        if (auto checked = plan_->check(QStringLiteral("description")); !checked) {
            return fail(checked.error());
        }
        return inner_->description();
    }
    Result<void> setDescription(const QString& text) override {
        if (auto checked = plan_->check(QStringLiteral("setDescription"), {text}); !checked) {
            return checked;
        }
        return inner_->setDescription(text);
    }
    Result<bool> isMember(const QString& memberPath) override {
        if (auto checked = plan_->check(QStringLiteral("isMember"), {memberPath}); !checked) {
            return fail(checked.error());
        }
        return inner_->isMember(memberPath);
    }
    Result<void> add(const QString& memberPath) override {
        if (auto checked = plan_->check(QStringLiteral("add"), {memberPath}); !checked) {
            return checked;
        }
        return inner_->add(memberPath);
    }
    Result<void> remove(const QString& memberPath) override {
        if (auto checked = plan_->check(QStringLiteral("remove"), {memberPath}); !checked) {
            return checked;
        }
        return inner_->remove(memberPath);
    }
    Result<void> mailEnable() override {
        if (auto checked = plan_->check(QStringLiteral("mailEnable")); !checked) return checked;
        return inner_->mailEnable();
    }
};

class FaultyContainer : public FaultyView<DirectoryContainer> {
  public:
    using FaultyView::FaultyView;

    Result<std::unique_ptr<DirectoryObject>> create(const QString& objectClass,
                                                    const QString& rdn) override {
        if (auto checked = plan_->check(QStringLiteral("create"), {objectClass, rdn}); !checked) {
            return fail(checked.error());
        }
        auto created = inner_->create(objectClass, rdn);
        if (!created) return fail(created.error());
        return wrap(std::move(*created), plan_);
    }
};

class FaultyConnection : public QueryConnection {
  public:
    FaultyConnection(std::unique_ptr<QueryConnection> inner, std::shared_ptr<Plan> plan)
        : inner_(std::move(inner)), plan_(std::move(plan)) {}

    Result<void> open(const QString& connectionString) override {
        if (auto checked = plan_->check(QStringLiteral("open"), {connectionString}); !checked) {
            return checked;
        }
        return inner_->open(connectionString);
    }
    bool isOpen() const override { return inner_->isOpen(); }
    Result<void> close() override {
        if (auto checked = plan_->check(QStringLiteral("close")); !checked) return checked;
        return inner_->close();
    }
    Result<std::unique_ptr<RecordSet>> execute(const QString& commandText) override {
        if (auto checked = plan_->check(QStringLiteral("execute"), {commandText}); !checked) {
            return fail(checked.error());
        }
        return inner_->execute(commandText);
    }

  private:
    std::unique_ptr<QueryConnection> inner_;
    std::shared_ptr<Plan> plan_;
};

template <class View, class Wrapper>
std::unique_ptr<DirectoryObject> wrapAs(std::unique_ptr<DirectoryObject>& inner,
                                        const std::shared_ptr<Plan>& plan) {
    if (!dynamic_cast<View*>(inner.get())) return nullptr;
    return std::make_unique<Wrapper>(std::move(*viewAs<View>(std::move(inner))), plan);
}

// Keeps the kind of the object (group, container or plain object) in its wrapper.
std::unique_ptr<DirectoryObject> wrap(std::unique_ptr<DirectoryObject> inner,
                                      std::shared_ptr<Plan> plan) {
    if (!inner) return nullptr;
    if (auto group = wrapAs<DirectoryGroup, FaultyGroup>(inner, plan)) return group;
    if (auto container = wrapAs<DirectoryContainer, FaultyContainer>(inner, plan)) return container;
    return std::make_unique<FaultyObject>(std::move(inner), plan);
}

template <class View>
Result<std::unique_ptr<View>> wrapResult(Result<std::unique_ptr<View>> bound,
                                         const std::shared_ptr<Plan>& plan) {
    if (!bound) return fail(bound.error());
    if (!*bound) return std::unique_ptr<View>();
    return viewAs<View>(wrap(std::move(*bound), plan));
}

}  // namespace

FaultyDirectory::FaultyDirectory(Directory& inner)
    : inner_(inner), plan_(std::make_shared<Plan>()) {}

FaultyDirectory::~FaultyDirectory() = default;

void FaultyDirectory::failOn(const QString& rule, Failure failure) {
    plan_->failures.insert(rule.toLower(), std::move(failure));
}

void FaultyDirectory::answerGet(const QString& rule, QStringList values) {
    plan_->answers.insert(rule.toLower(), std::move(values));
}

QStringList FaultyDirectory::calls() const {
    return plan_->calls;
}

Result<std::unique_ptr<DirectoryObject>> FaultyDirectory::bindObject(const QString& path) {
    if (auto checked = plan_->check(QStringLiteral("bindObject"), {path}); !checked) {
        return fail(checked.error());
    }
    return wrapResult(inner_.bindObject(path), plan_);
}

Result<std::unique_ptr<DirectoryGroup>> FaultyDirectory::bindGroup(const QString& path) {
    if (auto checked = plan_->check(QStringLiteral("bindGroup"), {path}); !checked) {
        return fail(checked.error());
    }
    return wrapResult(inner_.bindGroup(path), plan_);
}

Result<std::unique_ptr<DirectoryContainer>> FaultyDirectory::bindContainer(const QString& path) {
    if (auto checked = plan_->check(QStringLiteral("bindContainer"), {path}); !checked) {
        return fail(checked.error());
    }
    return wrapResult(inner_.bindContainer(path), plan_);
}

std::unique_ptr<QueryConnection> FaultyDirectory::createQueryConnection() {
    if (!plan_->check(QStringLiteral("createQueryConnection"))) return nullptr;
    auto inner = inner_.createQueryConnection();
    if (!inner) return nullptr;
    return std::make_unique<FaultyConnection>(std::move(inner), plan_);
}

}  // namespace vorlane::testing
