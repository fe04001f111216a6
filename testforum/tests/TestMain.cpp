#include <QCoreApplication>

#include <gtest/gtest.h>

// The test forum's own tests need nothing of the product: a core application
// for the event loop of the small client they talk to the forum with.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
