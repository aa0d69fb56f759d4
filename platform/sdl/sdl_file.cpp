// Files on SDL are plain POSIX files: the stdio file layer as it is.
#include "platform/stdio/stdio_file.h"

const StdioFileHooks STDIO_FILE_HOOKS = {};
