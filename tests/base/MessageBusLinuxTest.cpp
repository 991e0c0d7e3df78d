#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "WaitUntil.h"
#include "base/MessageBus.h"
#include "base/WindowMessage.h"

using ui::MessageBus;

TEST(MessageBus, SendsFromWorkersRunOnTheUiThreadInOrderAndWait) {
  auto& bus = MessageBus::Instance();
  const auto uiThread = std::this_thread::get_id();
  std::vector<std::pair<int, int>> seen;  // (sender, sequence)
  bool wrongThread = false;
  const auto window = bus.Register([&](uint32_t, uintptr_t w, intptr_t l) -> intptr_t {
    if (std::this_thread::get_id() != uiThread) wrongThread = true;
    seen.emplace_back(static_cast<int>(w), static_cast<int>(l));
    return 7;
  });

  std::atomic<int> finished{0};
  std::atomic<bool> answersRight{true};
  std::vector<std::thread> senders;
  for (int s = 0; s < 2; ++s) {
    senders.emplace_back([&, s] {
      for (int i = 0; i < 200; ++i) {
        if (ui::SendWindowMessage(window, 752, s, i) != 7) answersRight = false;
      }
      ++finished;
    });
  }
  while (finished < 2) bus.DispatchPending();
  for (auto& t : senders) t.join();
  bus.Unregister(window);

  EXPECT_FALSE(wrongThread);
  EXPECT_TRUE(answersRight);
  ASSERT_EQ(seen.size(), 400u);
  int next[2] = {0, 0};
  for (auto [sender, sequence] : seen) EXPECT_EQ(sequence, next[sender]++);
}

TEST(MessageBus, SendToAGoneWindowReturnsZeroAtOnce) {
  auto& bus = MessageBus::Instance();
  const auto window = bus.Register([](uint32_t, uintptr_t, intptr_t) -> intptr_t { return 1; });
  EXPECT_EQ(ui::SendWindowMessage(window, 751, 0, 0), 1);  // same thread: runs at once
  bus.Unregister(window);
  EXPECT_FALSE(bus.IsWindow(window));
  EXPECT_EQ(ui::SendWindowMessage(window, 751, 0, 0), 0);
  std::thread([&] { EXPECT_EQ(ui::SendWindowMessage(window, 751, 0, 0), 0); }).join();
}

TEST(MessageBus, DestroyingTheWindowReleasesWaitingSenders) {
  auto& bus = MessageBus::Instance();
  const auto window = bus.Register([](uint32_t, uintptr_t, intptr_t) -> intptr_t { return 1; });
  std::atomic<intptr_t> result{-1};
  std::thread sender([&] { result = ui::SendWindowMessage(window, 752, 0, 0); });
  const bool pending = WaitUntil([&] { return bus.HasPending(); });
  bus.Unregister(window);  // the user closed the program before the UI thread got to it
  sender.join();
  EXPECT_TRUE(pending) << "the sender never reached the bus";
  EXPECT_EQ(result, 0);
  EXPECT_EQ(bus.DispatchPending(), 0);
}

TEST(MessageBus, WorkForTheUiThreadRunsThereAndAnswers) {
  auto& bus = MessageBus::Instance();
  const auto uiThread = std::this_thread::get_id();
  const auto window = bus.Register([](uint32_t, uintptr_t, intptr_t) -> intptr_t { return 0; });
  std::atomic<intptr_t> answer{0};
  std::atomic<bool> ranOnUi{false};
  std::thread worker([&] {
    answer = ui::RunOnWindowThread(window, [&]() -> intptr_t {
      ranOnUi = std::this_thread::get_id() == uiThread;
      return 42;
    });
  });
  while (answer == 0) bus.DispatchPending();
  worker.join();
  EXPECT_TRUE(ranOnUi);
  EXPECT_EQ(answer, 42);
  bus.Unregister(window);
  EXPECT_EQ(ui::RunOnWindowThread(window, [] { return intptr_t{1}; }), 0);
}
