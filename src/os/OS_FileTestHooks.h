#pragma once

// Test hooks of the file layer, kept apart from what the engine includes.
namespace os::testhooks {

// The next count commits of a ReplacingFile fail as a write error on the
// disk would: the temporary file goes and the target stays as it was.
void FailReplacingFileCommits(int count);

// The next count os::LinkOrCopyFile calls find no hard links, as on a file
// system without them, and copy the file.
void RefuseFileLinks(int count);

}  // namespace os::testhooks
