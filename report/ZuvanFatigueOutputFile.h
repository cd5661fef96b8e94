#pragma once
// A result file of the output directory (a report, or its ".jsonl" results),
// appended to whole: each append is one write on a descriptor opened for
// appending, made while an exclusive advisory lock (flock) is held on the
// file, so that runs appending to the same file at once never interleave. An
// append that fails leaves the file as it was before it. A run killed before
// or after the write leaves the whole report or none of it; only a kill that
// lands inside the one write call can stop the system part-way through it.
//
// The name stays inside the output directory: every component below the
// directory is opened without following symbolic links (the directory itself
// may be one). Nothing is created until the first byte is appended.

#include <string>

class ZuvanFatigueOutputFile {
   public:
    // Longest component of a name the file systems in use accept (NAME_MAX).
    static constexpr std::size_t kNameMax = 255;

    // Resolves name (a *FICHIER_SORTIE name, or it with ".jsonl") in
    // outputDirectory (the working folder when empty) and opens the folders
    // that lead to it. Raises, with tag:
    // - 450 when nothing exists at outputDirectory;
    // - 290 when the name is blank, absolute, holds a ".." component or a
    //   control byte (below 0x20, or 0x7F), has a component longer than
    //   kNameMax, passes through a missing folder or a symbolic link, or names
    //   something that is not a regular file (a symbolic link, a folder, a
    //   device), or when the output directory is not a folder.
    ZuvanFatigueOutputFile(const std::string& outputDirectory, const std::string& name,
                           const char* tag);
    ~ZuvanFatigueOutputFile();
    ZuvanFatigueOutputFile(const ZuvanFatigueOutputFile&) = delete;
    ZuvanFatigueOutputFile& operator=(const ZuvanFatigueOutputFile&) = delete;

    // Appends bytes whole: the file is opened for appending (created when
    // absent, never through a symbolic link), locked, written in one go
    // (short and interrupted writes resumed), unlocked and closed. When any
    // step fails the file is cut back to its length before this append and
    // 290 is raised with tag. No bytes: nothing is opened nor created.
    void Append(const std::string& bytes, const char* tag);

    // The checks of the name alone, as the constructor makes them first: 290
    // when it is blank, absolute, holds a ".." component or a control byte, or
    // has a component longer than kNameMax.
    static void CheckName(const std::string& name, const char* tag);

    // True when a file name holds a byte below 0x20 or the byte 0x7F.
    static bool HasControlByte(const std::string& name);

   private:
    int m_folder = -1;   // the folder that holds the file
    std::string m_leaf;  // the file's name in that folder
};
