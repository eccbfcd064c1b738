#include "event_log.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

namespace vantrel {

namespace {

namespace fs = std::filesystem;

// Lines waiting beyond this are dropped (and counted): a stuck disk never grows the program.
constexpr std::size_t kMaxQueuedLines = 4096;

// The file end of the log: appends, rotates at the cap, forgets a write that fails.
class LogFile {
public:
    explicit LogFile(const EventLogOptions& options) : options_(options) {}

    void Write(const std::string& line) {
        if (!stream_.is_open() && !Open()) return;
        if (size_ > 0 && size_ + line.size() > options_.capBytes) {
            stream_.close();
            Rotate();
            if (!Open()) return;
        }
        stream_.write(line.data(), std::streamsize(line.size()));
        if (!stream_) {
            // Tried again, afresh, at the next line.
            stream_.close();
            return;
        }
        size_ += line.size();
    }

    void Flush() {
        if (stream_.is_open() && !stream_.flush()) stream_.close();
    }

private:
    bool Open() {
        std::error_code ec;
        const fs::path path(options_.path);
        const std::uintmax_t size = fs::file_size(path, ec);
        size_ = ec ? 0 : size;
        stream_.clear();
        if (size_ > 0) {
            // A line cut short when the last run was killed: the next line starts on its own.
            std::ifstream last(path, std::ios::binary);
            last.seekg(-1, std::ios::end);
            endsCut_ = last.get() != '\n';
        }
        stream_.open(path, std::ios::out | std::ios::app | std::ios::binary);
        if (stream_.is_open() && std::exchange(endsCut_, false)) {
            stream_.put('\n');
            ++size_;
        }
        return stream_.is_open();
    }

    // vantrel.log -> vantrel.log.1 -> vantrel.log.2 ...; the oldest beyond the kept ones goes.
    void Rotate() {
        std::error_code ec;
        const auto numbered = [this](int n) { return fs::path(options_.path + "." + std::to_string(n)); };
        if (options_.keptFiles <= 1) {
            fs::remove(options_.path, ec);
            return;
        }
        fs::remove(numbered(options_.keptFiles - 1), ec);
        for (int n = options_.keptFiles - 2; n >= 1; --n)
            if (fs::exists(numbered(n), ec)) fs::rename(numbered(n), numbered(n + 1), ec);
        fs::rename(options_.path, numbered(1), ec);
    }

    EventLogOptions options_;
    std::ofstream stream_;
    std::uintmax_t size_ = 0;
    bool endsCut_ = false;
};

class EventLog {
public:
    explicit EventLog(const EventLogOptions& options) : options_(options), file_(options) {
        writer_ = std::thread([this] { Run(); });
    }

    ~EventLog() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        writer_.join();
    }

    const EventLogOptions& Options() const { return options_; }

    void Add(std::string line) {
        {
            std::lock_guard lock(mutex_);
            ++queuedTotal_;
            if (queue_.size() >= kMaxQueuedLines) {
                ++dropped_;
                ++doneTotal_;
            } else {
                queue_.push_back(std::move(line));
            }
        }
        wake_.notify_one();
    }

    bool Changed(std::string key, std::string_view text) {
        std::lock_guard lock(mutex_);
        auto [at, added] = last_.try_emplace(std::move(key), text);
        if (added) return true;
        if (at->second == text) return false;
        at->second = text;
        return true;
    }

    void Flush() {
        std::unique_lock lock(mutex_);
        const std::uint64_t target = queuedTotal_;
        done_.wait(lock, [&] { return doneTotal_ >= target; });
    }

private:
    void Run() {
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (queue_.empty() && stopping_) break;
            std::deque<std::string> batch;
            batch.swap(queue_);
            const std::uint64_t dropped = std::exchange(dropped_, 0);
            lock.unlock();
            if (dropped > 0)
                file_.Write(batch.front().substr(0, 25) + options_.program + " [log] " +
                            std::to_string(dropped) + " lines dropped: the log fell behind\n");
            for (const std::string& line : batch)
                file_.Write(line);
            file_.Flush();
            lock.lock();
            doneTotal_ += batch.size();
            done_.notify_all();
        }
    }

    const EventLogOptions options_;
    LogFile file_; // the writer thread's alone
    std::mutex mutex_;
    std::condition_variable wake_, done_;
    std::deque<std::string> queue_;
    std::map<std::string, std::string, std::less<>> last_;
    std::uint64_t queuedTotal_ = 0, doneTotal_ = 0, dropped_ = 0;
    bool stopping_ = false;
    std::thread writer_;
};

std::mutex g_logMutex;           // guards g_log itself, not its queue
std::shared_ptr<EventLog> g_log; // shared so that a line being added survives a concurrent stop

std::shared_ptr<EventLog> CurrentLog() {
    std::lock_guard lock(g_logMutex);
    return g_log;
}

// One line of text: line breaks and other control characters become blanks.
std::string OneLine(std::string_view text) {
    std::string line(text);
    for (char& c : line)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return line;
}

void Write(LogLevel level, std::string_view topic, std::string_view text) {
    const std::shared_ptr<EventLog> log = CurrentLog();
    if (!log || level > log->Options().level || level == LogLevel::kOff) return;
    const auto now = std::chrono::system_clock::now();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
    std::string line = UtcLogTime(ms);
    line.append(" ").append(log->Options().program).append(" [").append(topic).append("] ");
    line.append(OneLine(text)).append("\n");
    log->Add(std::move(line));
}

} // namespace

std::string UtcLogTime(std::int64_t unixMs) {
    const std::time_t seconds = static_cast<std::time_t>(unixMs / 1000);
    std::tm utc{};
#ifdef _WIN32
    gmtime_s(&utc, &seconds);
#else
    gmtime_r(&seconds, &utc);
#endif
    char text[64]; // room for any year the type can hold
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900,
                  utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec,
                  static_cast<int>(unixMs % 1000));
    return text;
}

void StartEventLog(const EventLogOptions& options) {
    StopEventLog();
    if (options.level == LogLevel::kOff || options.path.empty()) return;
    auto log = std::make_shared<EventLog>(options);
    std::lock_guard lock(g_logMutex);
    g_log = std::move(log);
}

void StopEventLog() {
    std::shared_ptr<EventLog> log;
    {
        std::lock_guard lock(g_logMutex);
        log.swap(g_log);
    }
    // The last owner's release joins the writer after it wrote what is queued.
}

void FlushEventLog() {
    if (const std::shared_ptr<EventLog> log = CurrentLog()) log->Flush();
}

bool EventLogWants(LogLevel level) {
    const std::shared_ptr<EventLog> log = CurrentLog();
    return log && level != LogLevel::kOff && level <= log->Options().level;
}

void LogEvent(std::string_view topic, std::string_view text) {
    Write(LogLevel::kInfo, topic, text);
}

void LogDetail(std::string_view topic, std::string_view text) {
    Write(LogLevel::kDetail, topic, text);
}

void LogChange(std::string_view topic, std::string_view key, std::string_view text) {
    const std::shared_ptr<EventLog> log = CurrentLog();
    if (log && log->Changed(std::string(topic) + "/" + std::string(key), text)) LogEvent(topic, text);
}

void LogQuestion(std::string_view question, bool yes) {
    Write(LogLevel::kInfo, "question", std::string(question) + (yes ? " Answer: Yes" : " Answer: No"));
}

std::string EventLogPath() {
    const std::shared_ptr<EventLog> log = CurrentLog();
    return log ? log->Options().path : std::string();
}

std::optional<LogLevel> ParseLogLevel(std::string_view word) {
    if (word == "off") return LogLevel::kOff;
    if (word == "info") return LogLevel::kInfo;
    if (word == "detail") return LogLevel::kDetail;
    return std::nullopt;
}

LogLevel LogLevelFromCommandLine(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string_view(argv[i]) == "--log-level")
            if (auto level = ParseLogLevel(argv[i + 1])) return *level;
    if (const char* env = std::getenv("VANTREL_LOG_LEVEL"))
        if (auto level = ParseLogLevel(env)) return *level;
    return LogLevel::kInfo;
}

} // namespace vantrel
