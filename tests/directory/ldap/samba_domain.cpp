#include "samba_domain.h"

#include <sys/types.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <csignal>

namespace vorlane::testing {

std::optional<SambaDomain> SambaDomain::fromEnvironment() {
    SambaDomain domain;
    domain.dir_ = qEnvironmentVariable("VORLANE_SAMBA_DIR");
    domain.control_ = qEnvironmentVariable("VORLANE_SAMBA_CONTROL");
    domain.baseDn_ = qEnvironmentVariable("VORLANE_SAMBA_BASE_DN");
    domain.adminDn_ = qEnvironmentVariable("VORLANE_SAMBA_ADMIN_DN");
    domain.adminPassword_ = qEnvironmentVariable("VORLANE_SAMBA_ADMIN_PASSWORD");
    if (domain.dir_.isEmpty() || domain.control_.isEmpty() || domain.baseDn_.isEmpty()) {
        return std::nullopt;
    }
    return domain;
}

LdapConfiguration SambaDomain::configuration() const {
    return readLdapConfiguration();
}

bool SambaDomain::control(const QString& command) const {
    return QProcess::execute(control_, {command, dir_}) == 0;
}

bool SambaDomain::stop() const {
    return control(QStringLiteral("stop"));
}
bool SambaDomain::start() const {
    return control(QStringLiteral("start"));
}

bool SambaDomain::signal(int number) const {
    QFile pidFile(dir_ + QStringLiteral("/samba.pid"));
    if (!pidFile.open(QIODevice::ReadOnly)) return false;
    const pid_t pid = static_cast<pid_t>(pidFile.readAll().trimmed().toLong());
    return pid > 0 && ::kill(pid, number) == 0;
}

bool SambaDomain::freeze() const {
    return signal(SIGSTOP);
}
bool SambaDomain::thaw() const {
    return signal(SIGCONT);
}

QString SambaDomain::uniqueName(const QString& prefix) {
    static int counter = 0;
    return prefix + u'-' + QString::number(QCoreApplication::applicationPid()) + u'-' +
           QString::number(++counter);
}

}  // namespace vorlane::testing
