#include "scene_fixture.h"

// Every program that includes this file draws in the one window.
static const testing::Environment* const window =
    testing::AddGlobalTestEnvironment(new SceneWindow);
