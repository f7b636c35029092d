#include "remote/Status.h"

namespace tunx::remote {

namespace {

constexpr int kNoError = 0;
constexpr const char* kNoErrorText = "No error";

// The event bit of an error's class: -1xx command, -2xx execution, -3xx device, -4xx query.
int eventOf(int number) {
    if (number <= -100 && number > -200) {
        return esr::kCommandError;
    }
    if (number <= -200 && number > -300) {
        return esr::kExecutionError;
    }
    if (number <= -400 && number > -500) {
        return esr::kQueryError;
    }
    return esr::kDeviceError;
}

}  // namespace

void Status::push(const ErrorEntry& entry) {
    events_ |= eventOf(entry.number);
    if (queue_.size() < kQueueLength) {
        queue_.push_back(entry);
        return;
    }
    queue_.back() = {error::kQueueOverflow.number, error::kQueueOverflow.text};
}

ErrorEntry Status::pop() {
    if (queue_.empty()) {
        return {kNoError, kNoErrorText};
    }
    ErrorEntry e = std::move(queue_.front());
    queue_.pop_front();
    return e;
}

void Status::clear() {
    queue_.clear();
    events_ = 0;
}

int Status::takeEvents() {
    const int e = events_;
    events_ = 0;
    return e;
}

int Status::statusByte() const {
    int b = queue_.empty() ? 0 : stb::kErrorQueue;
    if ((events_ & enable_) != 0) {
        b |= stb::kEventStatus | stb::kRequestService;
    }
    return b;
}

}  // namespace tunx::remote
