# Tonemark against the real Mutter (Debian's mutter package): as the window
# manager of a private Xvfb, whose CRTC gives DisplayConfig a real gamma
# ramp, and as a headless Wayland compositor with a virtual monitor, seen
# through its ScreenCast interface and PipeWire, typed at through its
# RemoteDesktop interface. Included by the GNOME
# back-end's tests, which define what they link.
add_executable(mutter_screencast ${CMAKE_CURRENT_LIST_DIR}/mutter_screencast_tool.cpp)
target_link_libraries(mutter_screencast PRIVATE ${SYSTEMD_LIBRARY})
target_include_directories(mutter_screencast PRIVATE ${SYSTEMD_INCLUDE_DIR})
add_executable(mutter_keys ${CMAKE_CURRENT_LIST_DIR}/mutter_keys_tool.cpp)
target_link_libraries(mutter_keys PRIVATE ${SYSTEMD_LIBRARY})
target_include_directories(mutter_keys PRIVATE ${SYSTEMD_INCLUDE_DIR})
add_test(NAME real_mutter_x11
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/mutter_x11.sh $<TARGET_FILE:tonemark> $<TARGET_FILE:crtc_gamma>)
add_test(NAME real_mutter_wayland
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/mutter_wayland.sh $<TARGET_FILE:tonemark> $<TARGET_FILE:tonemark-window>
                 $<TARGET_FILE:tonemark-render> $<TARGET_FILE:mutter_screencast> $<TARGET_FILE:mutter_keys>)
set_tests_properties(real_mutter_x11 real_mutter_wayland PROPERTIES TIMEOUT 120)
