#include "cli/cli_prompt.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "base/strings.h"
#include "base/text.h"

namespace kv {
namespace {

TEST(CliPrompt, MessagesAreOneLineEach) {
  std::ostringstream err;
  CCliPrompt prompt(err, false);
  prompt.ShowMessage("Unable to complete the plan.\n\nExceeded\tthe limit.\r\n", EIcon::Warning);
  EXPECT_FALSE(prompt.AskYesNo(Format(kSixHourQuestion, 2), true, EIcon::Question)) << "--extend not given";
  const std::string text = err.str();
  EXPECT_EQ(text.substr(0, text.find('\n') + 1), "Kestrun Varnadel: Unable to complete the plan. Exceeded the limit.\n");
  EXPECT_NE(text.find("Kestrun Varnadel: Unable to decompress Dive 2 within 6 hours. Extreme gas and multiple "
                      "scrubber requirements"),
            std::string::npos)
      << "the non-breaking space reads as a blank";
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2);
  EXPECT_EQ(prompt.Shown(), 2);
  CCliPrompt yes(err, true);
  EXPECT_TRUE(yes.AskYesNo("Go on?", false, EIcon::Question));
}

}  // namespace
}  // namespace kv
