#include "ui/MessageBanner.h"

#include <QLabel>
#include <QWidget>
#include <gtest/gtest.h>

namespace {
void tick(MessageBanner& b) {
    QMetaObject::invokeMethod(&b.timer(), "timeout");
}
} // namespace

TEST(MessageBanner, CountsDownAndHidesAndZeroHidesAtTheFirstTick) {
    QWidget form;
    form.resize(600, 400);
    MessageBanner banner(&form, MessageBanner::Placement::Bottom);
    form.show();
    banner.autoMSG("名称太短", 2);
    EXPECT_TRUE(banner.isVisible());
    EXPECT_EQ(banner.findChild<QLabel*>("lblS")->text(), "2");
    tick(banner);
    EXPECT_TRUE(banner.isVisible());
    tick(banner);
    EXPECT_FALSE(banner.isVisible());
    EXPECT_FALSE(banner.timer().isActive());

    // Zero shows, then hides at the first tick; a second call replaces the first.
    MessageBanner top(&form, MessageBanner::Placement::Top);
    top.autoMSG("a", 0);
    EXPECT_TRUE(top.isVisible());
    EXPECT_EQ(top.remainingSeconds(), 0);
    tick(top);
    EXPECT_FALSE(top.isVisible());
    EXPECT_EQ(top.remainingSeconds(), -1);

    top.autoMSG("first", 5);
    tick(top);
    top.autoMSG("second", 2);
    EXPECT_EQ(top.text(), "second");
    EXPECT_EQ(top.remainingSeconds(), 2);
}
