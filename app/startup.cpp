#include "app/startup.h"

#include "app/test.h"
#include "app/test1.h"
#include "app/test5.h"
#include "materials/test3.h"
#include "materials/test7.h"
#include "materials/test94.h"
#include "materials/test99.h"
#include "review/test8.h"
#include "tests/test2.h"
#include "tests/test4.h"
#include "tests/test6.h"

void CreateScreens() {
    Form1 = new TForm1();
    Form2 = new TForm2();
    Form3 = new TForm3();
    Form4 = new TForm4();
    Form5 = new TForm5();
    Form6 = new TForm6();
    Form7 = new TForm7();
    Form8 = new TForm8();
    form12 = new Tform12();
    Form14 = new TForm14();
    Form9 = new TForm9();
}

void DestroyScreens() {
    delete Form9;
    delete Form14;
    delete form12;
    delete Form8;
    delete Form7;
    delete Form6;
    delete Form5;
    delete Form4;
    delete Form3;
    delete Form2;
    delete Form1;
}
