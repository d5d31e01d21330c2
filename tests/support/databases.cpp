#include "support/databases.h"

#include "data/account.h"

#include <QDir>
#include <QFile>
#include <stdexcept>

namespace testsupport {

QString dbScript(const QString &name) {
    QFile f(QStringLiteral(FUNDATOR_DB_SCRIPTS "/") + name + QStringLiteral(".sql"));
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("missing db script " + name.toStdString());
    return QString::fromUtf8(f.readAll());
}

void makeDatabases(const QString &dir) {
    for (const char *db : {"inddata", "param", "isol"})
        engine::CreateDatabase(dir + QStringLiteral("/") + QLatin1String(db) + QStringLiteral(".mdb"),
                               dbScript(QLatin1String(db)), false, data::kUser, data::kPassword);
    engine::CreateDatabase(dir + QStringLiteral("/system.mdw"), dbScript(QStringLiteral("system")), true, data::kUser,
                           data::kPassword);
}

DatabaseFolder::DatabaseFolder() {
    makeDatabases(dir_.path());
    previous_ = QDir::currentPath();
    QDir::setCurrent(dir_.path());
}

DatabaseFolder::~DatabaseFolder() { QDir::setCurrent(previous_); }

engine::Connection DatabaseFolder::open(const QString &dataSource) const {
    engine::Connection cn;
    cn.Open(data::ConnectionString(dataSource));
    return cn;
}

} // namespace testsupport
