#pragma once
// An application object for test programs without a window: sockets and
// timers post their events through the Qt event loop, which needs one for
// the whole program. A test program registers it once:
//   ::testing::AddGlobalTestEnvironment(new QtCoreEnvironment)
#include <QCoreApplication>
#include <gtest/gtest.h>

#include <memory>

namespace orv::test
{

class QtCoreEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "orvalen_test";
        static char* argv[] = { name, nullptr };
        app_ = std::make_unique<QCoreApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QCoreApplication> app_;
};

} // namespace orv::test
