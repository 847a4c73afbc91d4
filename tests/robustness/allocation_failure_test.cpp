// Memory running out at every single allocation of a failing paste-and-
// operator session. This executable replaces the global operator new: while
// armed, it counts allocations and fails the N-th one with std::bad_alloc,
// as an exhausted heap would. For every N the session must go on, the press
// that hit the failure must show exactly one "Mémoire insuffisante." box,
// and the calculator must answer normally afterwards.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "display/keypad_session.h"
#include "display/report.h"
#include "fake_host.h"

namespace {

// The allocation hook of this executable only; disarmed outside a session.
struct AllocationHook {
  bool armed = false;
  std::size_t count = 0;     // allocations seen while armed
  std::size_t failAt = 0;    // 1-based index of the allocation that fails; 0: none
  std::size_t failedAt = 0;  // count at the failure, 0 while none happened
};
AllocationHook hook;

void* allocate(std::size_t size) {
  if (hook.armed && ++hook.count == hook.failAt) {
    hook.failedAt = hook.count;
    throw std::bad_alloc();
  }
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return allocate(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

namespace tallix {
namespace {

const std::string kOutOfMemory = "Mémoire insuffisante.";

struct Step {
  const char* name;
  std::function<void(KeypadSession&)> run;
};

// 1 + paste:<long text> + ... 2 = : the paste is not a number, so each "+"
// on it builds a conversion report quoting the whole text; in between, the
// long text is copied, signed and shortened. The host's clipboard holds the
// text before the session starts.
std::vector<Step> failingSession() {
  auto key = [](char32_t typed) { return [typed](KeypadSession& c) { c.typeKey(typed); }; };
  auto click = [](Control control) { return [control](KeypadSession& c) { c.press(control); }; };
  return {
      {"1", key(U'1')},
      {"+", key(U'+')},
      {"paste", [](KeypadSession& c) { c.paste(); }},
      {"+ on the paste", key(U'+')},
      {"copy", [](KeypadSession& c) { c.copy(); }},
      {"paste again", [](KeypadSession& c) { c.paste(); }},
      {"+/-", click(Control::ButtonNeg)},
      {"backspace", key(U'\b')},
      {"+ on the signed paste", key(U'+')},
      {"2", key(U'2')},
      {"4 decimals", click(Control::ButtonLimiterAQuatreDecimales)},
      {"=", key(U'=')},
  };
}

// Runs the session with the N-th allocation failing (0: none) and checks
// each press; returns the number of allocations the session made.
std::size_t runSession(std::size_t failAt, const std::string& pasted) {
  testing::FakeHost host;
  host.recordDisplays = false;
  KeypadSession calc(host, Separateurs{U'.', U','});
  host.clipboard = pasted;
  const std::vector<Step> steps = failingSession();
  host.messages.reserve(steps.size() * kReportAttempts);

  hook = AllocationHook{true, 0, failAt, 0};
  for (const Step& step : steps) {
    const std::size_t before = host.messages.size();
    const std::size_t countBefore = hook.count;
    try {
      step.run(calc);
    } catch (...) {
      hook.armed = false;
      ADD_FAILURE() << "an error escaped the press " << step.name << " (N=" << failAt << ")";
      return 0;
    }
    const bool failedHere = hook.failedAt > countBefore;
    const std::size_t shown = host.messages.size() - before;
    hook.armed = false;  // the checks below allocate
    if (failedHere) {
      EXPECT_EQ(shown, 1u) << step.name << ", N=" << failAt;
      if (shown == 1) {
        EXPECT_EQ(host.messages.back().text, kOutOfMemory) << step.name << ", N=" << failAt;
      }
    } else {
      EXPECT_LE(shown, 1u) << step.name << ", N=" << failAt;
      if (shown == 1) {
        EXPECT_NE(host.messages.back().text, kOutOfMemory) << step.name << ", N=" << failAt;
      }
    }
    EXPECT_FALSE(calc.displayText().empty()) << step.name << ", N=" << failAt;
    hook.armed = true;
  }
  hook.armed = false;
  const std::size_t allocations = hook.count;
  if (failAt != 0 && failAt <= allocations) {
    EXPECT_EQ(hook.failedAt, failAt);
  }
  // Whatever failed, a report reached the user: the conversion error or the
  // exhaustion that stood in its way.
  EXPECT_GE(host.messages.size(), 1u) << "N=" << failAt;

  // The calculator still answers.
  const std::size_t reports = host.messages.size();
  for (char32_t key : {U' ', U'4', U'+', U'5', U'='}) calc.typeKey(key);
  EXPECT_EQ(calc.displayText(), "9.0000") << "N=" << failAt;
  EXPECT_EQ(host.messages.size(), reports) << "N=" << failAt;
  return allocations;
}

TEST(AllocationFailure, EveryAllocationOfAFailingPasteSessionIsReported) {
  const std::string pasted(6000, '7');  // beyond the largest extended value
  const std::size_t total = runSession(0, pasted);
  ASSERT_GT(total, 8u) << "the hook sees the session's allocations";
  for (std::size_t n = 1; n <= total + 2; ++n) runSession(n, pasted);
  RecordProperty("allocations_failed_one_by_one", std::to_string(total + 2));
  std::printf("failed each of the %zu allocations of the session in turn\n", total);
}

}  // namespace
}  // namespace tallix
