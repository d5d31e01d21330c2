#include "data/account.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

TEST(AccountTest, ConnectionStringHasTheSevenKeysInOrderWithTheFixedAccount) {
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[A-Za-z0-9]{10}$")).match(data::kPassword).hasMatch());
    EXPECT_EQ(data::ConnectionString(QStringLiteral("param.mdb")),
              QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Password=") + data::kPassword +
                  QStringLiteral(";User ID=Tumbrelix;Data Source=param.mdb;Persist Security Info=True;"
                                 "Jet OLEDB:System database=System.mdw;Jet OLEDB:Database Password=") +
                  data::kPassword);
}

} // namespace
