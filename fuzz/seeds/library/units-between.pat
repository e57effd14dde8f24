;%UNITS=MM
*A, eerste
0,0,0,0,1,2,-1
;%UNITS=INCH
;
*B
0,0,0,0,5,-34,0.5,-3
;
*C, derde
90,0,0,0,1
