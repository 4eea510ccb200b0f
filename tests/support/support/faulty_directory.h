#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <memory>

#include "common/directory.h"

namespace vorlane::testing {

// A directory that passes every call on to another one, except the calls it was told to fail
// (or to answer itself); the objects, groups, containers and connections that it returns are
// wrapped the same way. It also records every call.
//
// Operations are named "bindObject", "bindGroup", "bindContainer", "createQueryConnection",
// "get", "put", "setInfo", "create", "description", "setDescription", "isMember", "add",
// "remove", "mailEnable", "open", "close", "execute". A rule matches
//   "op"         every call,
//   "op:arg"     calls whose first argument is arg (any letter case), e.g. "get:groupType",
//   "op#n"       the n-th call of op counted over the whole directory, from 1, e.g. "setInfo#2".
class FaultyDirectory : public Directory {
  public:
    explicit FaultyDirectory(Directory& inner);
    ~FaultyDirectory() override;

    void failOn(const QString& rule, Failure failure);
    // Answers "get" calls matching rule with these values instead of asking the directory.
    void answerGet(const QString& rule, QStringList values);
    // Every call made so far, as "op(arg1,arg2)".
    QStringList calls() const;

    Result<std::unique_ptr<DirectoryObject>> bindObject(const QString& path) override;
    Result<std::unique_ptr<DirectoryGroup>> bindGroup(const QString& path) override;
    Result<std::unique_ptr<DirectoryContainer>> bindContainer(const QString& path) override;
    std::unique_ptr<QueryConnection> createQueryConnection() override;

    struct Plan;

  private:
    Directory& inner_;
    std::shared_ptr<Plan> plan_;
};

}  // namespace vorlane::testing
