#pragma once
// What the update shows the user (code page 936).

// A download could not be saved: usually a folder that needs administrator rights.
const char kUpdateSaveFailedText[] = "保存升级文件错误，请采用管理员模式运行";
// Every update file is in place; the launcher hands over to the updater.
const char kUpdateRestartText[] = "程序升级完毕,即将重新启动";
