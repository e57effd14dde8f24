;; bibliotheek
;%UNITS=MM
;
*Tegel, wandtegels
;%TYPE=MODEL
0, 0, 0, 0, 62.5, 210, -10
;

*P1
45, 0, 0, 0, 3
*p1
90, 0, 0, 0, 5