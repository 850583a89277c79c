#include "GuiTests.h"

namespace vormex::gui::test {

std::vector<TestFactory>& allTests()
{
    static std::vector<TestFactory> tests;
    return tests;
}

}  // namespace vormex::gui::test
