#pragma once
// Answers the message boxes that the code under test shows, so that no test blocks on
// one: a helper thread looks for message boxes of this process with the given caption,
// records their texts and closes them with OK. It stops when destroyed.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CMessageBoxAnswerer {
public:
    explicit CMessageBoxAnswerer(std::string caption);
    ~CMessageBoxAnswerer();
    CMessageBoxAnswerer(const CMessageBoxAnswerer&) = delete;
    CMessageBoxAnswerer& operator=(const CMessageBoxAnswerer&) = delete;

    // The texts of the boxes answered so far, in order (code page 936 bytes).
    std::vector<std::string> Texts() const;

private:
    void Run();

    std::string m_strCaption;
    std::atomic<bool> m_bStop{false};
    mutable std::mutex m_mutex;
    std::vector<std::string> m_texts;
    std::vector<HWND> m_answered;
    std::thread m_thread;
};
