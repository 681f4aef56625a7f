#pragma once
#define IDR_MAP_TEST_MAIN 200
#define IDR_MAP_TEST_DOC  201
