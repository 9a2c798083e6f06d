// IDs of the resources that the build compiles into the test program.
#define IDD_BUILT 900
#define IDC_BUILT_EDIT 901
