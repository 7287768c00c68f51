// Widgets need one QApplication for the whole test program. It is created before the first
// test runs (not while tests are only listed) and uses the offscreen platform unless another
// one is asked for.
#include <gtest/gtest.h>

#include <QApplication>

#include <memory>

namespace {

class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        m_app = std::make_unique<QApplication>(m_argc, m_argv);
        QApplication::setApplicationName(QStringLiteral("Quorvel"));
    }
    void TearDown() override { m_app.reset(); }

private:
    char m_name[16] = "settings_tests";
    char* m_argv[2] = {m_name, nullptr};
    int m_argc = 1;
    std::unique_ptr<QApplication> m_app;
};

[[maybe_unused]] ::testing::Environment* const g_qtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace
