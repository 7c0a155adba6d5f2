#include <QCoreApplication>

#include <gtest/gtest.h>

// The sound routines process events and talk to Qt Multimedia, both of which
// want an application object.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
