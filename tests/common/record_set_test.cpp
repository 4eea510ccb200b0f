#include "common/record_set.h"

#include <gtest/gtest.h>

namespace vorlane {
namespace {

RecordSet twoRows() {
    return RecordSet({"AdsPath", "mail"},
                     {{{"LDAP://CN=a,DC=x"}, {"a@x"}}, {{"LDAP://CN=b,DC=x"}, {}}});
}

TEST(RecordSet, WalksRowsAndReadsColumnsByNameInAnyCaseOrIndex) {
    RecordSet rows = twoRows();
    EXPECT_EQ(rows.state(), 1);
    EXPECT_EQ(rows.recordCount(), 2);
    ASSERT_FALSE(rows.eof());
    EXPECT_EQ(rows.field("ADSPATH").value(), "LDAP://CN=a,DC=x");
    EXPECT_EQ(rows.field(1).value(), "a@x");
    ASSERT_TRUE(rows.moveNext());
    EXPECT_EQ(rows.field("mail").value(), "");  // an entry without the attribute
    ASSERT_TRUE(rows.moveNext());
    EXPECT_TRUE(rows.eof());
}

TEST(RecordSet, MisuseFailsWithThePlatformCodes) {
    RecordSet rows = twoRows();
    EXPECT_EQ(rows.field("cn").error(), failures::itemNotFound());
    EXPECT_EQ(rows.field(2).error(), failures::itemNotFound());
    RecordSet empty({"AdsPath"}, {});
    EXPECT_TRUE(empty.eof());
    EXPECT_EQ(empty.field(0).error(), failures::noCurrentRecord());
    EXPECT_EQ(empty.moveNext().error(), failures::noCurrentRecord());
    ASSERT_TRUE(rows.close());
    EXPECT_EQ(rows.state(), 0);
    EXPECT_TRUE(rows.eof());
    EXPECT_EQ(rows.close().error(), failures::objectClosed());
    EXPECT_EQ(rows.field(0).error(), failures::objectClosed());
}

}  // namespace
}  // namespace vorlane
