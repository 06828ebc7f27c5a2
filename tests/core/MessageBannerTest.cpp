#include "core/MessageBanner.h"

#include <QLabel>
#include <QWidget>
#include <gtest/gtest.h>

namespace {
void tick(MessageBanner& b) {
    QMetaObject::invokeMethod(&b.timer(), "timeout");
}
} // namespace

TEST(MessageBanner, CountsDownAndHides) {
    QWidget form;
    form.resize(600, 400);
    MessageBanner banner(&form, MessageBanner::Placement::Bottom);
    form.show();
    banner.autoMSG("名称太短", 2);
    EXPECT_TRUE(banner.isVisible());
    EXPECT_EQ(banner.findChild<QLabel*>("lblS")->text(), "2");
    EXPECT_EQ(banner.y() + banner.height(), form.height()); // on the bottom edge
    EXPECT_EQ(banner.x(), (form.width() - banner.width()) / 2);
    tick(banner);
    EXPECT_TRUE(banner.isVisible());
    tick(banner);
    EXPECT_FALSE(banner.isVisible());
    EXPECT_FALSE(banner.timer().isActive());
}

TEST(MessageBanner, ZeroShowsThenHidesAtTheFirstTickAndASecondCallReplaces) {
    QWidget form;
    form.resize(600, 400);
    MessageBanner banner(&form, MessageBanner::Placement::Top);
    form.show();
    banner.autoMSG("a", 0);
    EXPECT_TRUE(banner.isVisible());
    EXPECT_EQ(banner.remainingSeconds(), 0);
    tick(banner);
    EXPECT_FALSE(banner.isVisible());
    EXPECT_EQ(banner.remainingSeconds(), -1);

    banner.autoMSG("first", 5);
    tick(banner);
    banner.autoMSG("second", 2);
    EXPECT_EQ(banner.text(), "second");
    EXPECT_EQ(banner.remainingSeconds(), 2);
    EXPECT_LT(banner.y(), 30); // top variant
}
