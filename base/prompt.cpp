#include "base/prompt.h"

#include <atomic>

namespace kv {
namespace {
CSilentPrompt g_silent;
std::atomic<IUserPrompt*> g_prompt{&g_silent};
}  // namespace

IUserPrompt& UserPrompt() { return *g_prompt.load(std::memory_order_acquire); }
void SetUserPrompt(IUserPrompt* prompt) { g_prompt.store(prompt ? prompt : &g_silent, std::memory_order_release); }

}  // namespace kv
