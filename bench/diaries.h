#pragma once

#include "install/installer.h"

#include <QTemporaryDir>

// The two diaries every benchmark compares: a fresh one (0) and the
// eleven-year demo diary (1), laid out once per run.
class BenchDiaries
{
public:
    BenchDiaries()
    {
        install::layOutDiary(m_fresh.path(), install::Content::Fresh);
        install::layOutDiary(m_demo.path(), install::Content::Demo);
    }
    QString dir(int which) const { return which == 0 ? m_fresh.path() : m_demo.path(); }

private:
    QTemporaryDir m_fresh;
    QTemporaryDir m_demo;
};
