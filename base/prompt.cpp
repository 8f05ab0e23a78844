#include "base/prompt.h"

namespace kv {
namespace {
CSilentPrompt g_silent;
IUserPrompt* g_prompt = &g_silent;
}  // namespace

IUserPrompt& UserPrompt() { return *g_prompt; }
void SetUserPrompt(IUserPrompt* prompt) { g_prompt = prompt ? prompt : &g_silent; }

}  // namespace kv
