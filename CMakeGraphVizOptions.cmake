# SPDX-License-Identifier: MIT
# `cmake --graphviz=FILE`: the program's layers only, without Qt, the system libraries and the tests.
set(GRAPHVIZ_EXTERNAL_LIBS FALSE)
set(GRAPHVIZ_GENERATE_PER_TARGET FALSE)
set(GRAPHVIZ_GENERATE_DEPENDERS FALSE)
set(GRAPHVIZ_IGNORE_TARGETS "^tst_" "^e2e" "testsupport" "xprobe" "fakedesktop" "_autogen" "_resources" "_other_files")
