#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

namespace vormex::gui::test {

using TestFactory = std::function<std::unique_ptr<QObject>()>;

// Every test class registers itself here (see VORMEX_GUI_TEST).
std::vector<TestFactory>& allTests();

struct TestRegistration {
    explicit TestRegistration(TestFactory factory) { allTests().push_back(std::move(factory)); }
};

}  // namespace vormex::gui::test

#define VORMEX_GUI_TEST(Class)                                                                  \
    static const ::vormex::gui::test::TestRegistration registration##Class(                     \
        [] { return std::unique_ptr<QObject>(std::make_unique<Class>()); })
