#pragma once
// File helpers: the folder part of a path, whether a regular file exists, reading a file whole
// while others may only read it, and replacing a file so that a failed write destroys nothing.
// Failures are the framework's file exceptions with their messages.

#include <string>

// The path up to and including its last "/"; empty when there is none.
std::string ExtractFilePath(const std::string& path);

// True when `path` names a regular file (not a folder).
bool FileExists(const std::string& path);

// Reads the whole file. Others may read it meanwhile but not write it: a file that another
// process holds locked for writing cannot be read (on a file system without locks it is read
// unlocked). Fails with EFOpenError "ファイル %s は開けません".
std::string ReadFileShared(const std::string& path);

// Replaces the file's content with `bytes`: they go to a temporary file in the same folder, which
// is renamed over `path` only when every byte is written and flushed. The file is held alone while
// it is replaced. Fails with EFCreateError "ファイル %s を作成できません" when the file cannot be
// created or is held by another process, with EWriteError "ストリームへの書き込みエラー" when the
// write stops short; either way the previous file stays whole and no temporary file is left. In a
// folder where no file may be created but the file itself may be written, the file is written in
// place; a write that stops short there leaves what was written.
void WriteFileReplacing(const std::string& path, const std::string& bytes);

// Makes the folder `dir` and every missing folder above it, each for its owner alone (0700), as
// folders that hold a user's settings should be. True when `dir` is a folder afterwards.
bool ForceDirectories(const std::string& dir);
