#include "singleinstance.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using vimbrel::SingleInstance;

TEST(SingleInstance, SecondInstanceIsRefusedUntilTheFirstEnds) {
    QTemporaryDir tmp;
    auto first = std::make_unique<SingleInstance>(tmp.path());
    ASSERT_TRUE(first->acquire());
    SingleInstance second(tmp.path());
    EXPECT_FALSE(second.acquire());
    first.reset();
    EXPECT_TRUE(second.acquire());
}
