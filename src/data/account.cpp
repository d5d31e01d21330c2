#include "data/account.h"

namespace data {

QString ConnectionString(const QString &dataSource) {
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Password=") + kPassword + QStringLiteral(";User ID=") +
           kUser + QStringLiteral(";Data Source=") + dataSource +
           QStringLiteral(";Persist Security Info=True;Jet OLEDB:System database=System.mdw;"
                          "Jet OLEDB:Database Password=") +
           kPassword;
}

} // namespace data
