#include "machine/vm/TextPool.h"

namespace text_pool {

namespace {

struct TReaper {
    ~TReaper()
    {
        TPool& pool = tPool;
        pool.closed = true;
        while (pool.count != 0) delete pool.kept[--pool.count];
    }
};

}  // namespace

void Arm()
{
    // A thread_local with a destructor runs it when the thread ends.
    static thread_local TReaper reaper;
    (void)reaper;
    tPool.armed = true;
}

}  // namespace text_pool
