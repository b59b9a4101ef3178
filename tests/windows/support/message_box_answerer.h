#pragma once
// Answers the message boxes that the code under test shows, so that no test blocks on
// one: a helper thread looks for message boxes of this process with the given caption,
// records their texts and default buttons and answers them with the given button (OK unless
// told). It stops when destroyed.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CMessageBoxAnswerer {
public:
    explicit CMessageBoxAnswerer(std::string caption, int answer = IDOK);
    ~CMessageBoxAnswerer();
    CMessageBoxAnswerer(const CMessageBoxAnswerer&) = delete;
    CMessageBoxAnswerer& operator=(const CMessageBoxAnswerer&) = delete;

    // The texts of the boxes answered so far, in order (code page 936 bytes).
    std::vector<std::string> Texts() const;
    // The default button of each box answered, in order (IDYES, IDNO, ...).
    std::vector<int> DefaultButtons() const;

private:
    void Run();

    std::string m_strCaption;
    int m_nAnswer;
    std::atomic<bool> m_bStop{false};
    mutable std::mutex m_mutex;
    std::vector<std::string> m_texts;
    std::vector<int> m_defaultButtons;
    std::vector<HWND> m_answered;
    std::thread m_thread;
};
