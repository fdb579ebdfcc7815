#include "commandcancellation.h"

#include <fcntl.h>
#include <unistd.h>

namespace vantorel {

CommandCancellation::CommandCancellation()
{
    int fds[2];
    if (::pipe(fds) != 0)
        return;
    for (int fd : fds) {
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        ::fcntl(fd, F_SETFL, O_NONBLOCK);
    }
    m_readEnd = fds[0];
    m_writeEnd = fds[1];
}

CommandCancellation::~CommandCancellation()
{
    for (int fd : {m_readEnd, m_writeEnd}) {
        if (fd >= 0)
            ::close(fd);
    }
}

void CommandCancellation::cancel()
{
    if (m_cancelled.exchange(true, std::memory_order_acq_rel))
        return;
    // One byte, never read: the read end stays readable for every later poll. Should the write
    // fail, isCancelled() still tells the runners, which also look at it.
    if (m_writeEnd >= 0 && ::write(m_writeEnd, "x", 1) < 0)
        return;
}

} // namespace vantorel
